// The bundle of services handed to the Player. Each pointer is owned by the host that
// built the bundle (host::Session wires it) and outlives the Player. Every service is
// present except the tray, which is null where the host has no notification area.
#pragma once

#include "platform/agent_control.h"
#include "platform/backdrop.h"
#include "platform/clipboard.h"
#include "platform/clock.h"
#include "platform/file_dialog.h"
#include "platform/internet.h"
#include "platform/key_sender.h"
#include "platform/media_device.h"
#include "platform/message_loop.h"
#include "platform/picture.h"
#include "platform/presentation_app.h"
#include "platform/shell.h"
#include "platform/system.h"
#include "platform/tray.h"
#include "platform/ui.h"

namespace rirerazo::platform {

struct Platform {
  Ui* ui = nullptr;
  Clock* clock = nullptr;
  MessageLoop* loop = nullptr;
  System* system = nullptr;
  AgentControl* agent = nullptr;
  Shell* shell = nullptr;
  KeySender* keys = nullptr;
  Backdrop* backdrop = nullptr;
  MediaDevice* media = nullptr;
  Clipboard* clipboard = nullptr;
  PictureDecoder* pictures = nullptr;
  Internet* internet = nullptr;
  FileDialog* file_dialog = nullptr;
  PresentationApp* presentation = nullptr;
  Tray* tray = nullptr;  // null: the host has no notification area
};

}  // namespace rirerazo::platform
