// The bundle of services handed to the Player. Each pointer is owned by the host that
// built the bundle and outlives the Player. Services later issues add (tray, backdrop,
// media, shell, ...) join this bundle as members of their own.
#pragma once

#include "platform/agent_control.h"
#include "platform/clock.h"
#include "platform/file_dialog.h"
#include "platform/internet.h"
#include "platform/message_loop.h"
#include "platform/presentation_app.h"
#include "platform/system.h"
#include "platform/ui.h"

namespace rirerazo::platform {

struct Platform {
  Ui* ui = nullptr;
  Clock* clock = nullptr;
  MessageLoop* loop = nullptr;
  System* system = nullptr;
  AgentControl* agent = nullptr;
  Internet* internet = nullptr;
  FileDialog* file_dialog = nullptr;
  PresentationApp* presentation = nullptr;
};

}  // namespace rirerazo::platform
