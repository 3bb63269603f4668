// The Player: the hidden main form of the program. It holds the state that the player's
// procedures share (paths and screen metrics of start-up, the character table and current
// character, the request variables, the bookmark and command tables, the slide-show
// settings) and the services of its host. There is one Player per run; every procedure
// that needs shared state takes it by reference, so nothing lives in globals.
//
// Everything runs on the host's one player thread. Events of the character control arrive
// only while the player yields (MessageLoop::DoEvents or Sleep) and may start further
// scripts inside a running one; see interp/play_script.h.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "core/app/error_report.h"
#include "core/app/form_unload.h"
#include "core/interp/system_modules.h"
#include "core/ppt/power_point.h"
#include "core/script/profile_reader.h"
#include "core/util/startup_paths.h"
#include "platform/agent_control.h"
#include "platform/platform.h"
#include "platform/tray.h"

namespace rirerazo {

// The title of the player's own message boxes.
inline constexpr const char* kDefaultTitle = "RIRERazo";

// One loaded character, in load order.
struct CharEntry {
  std::string CharID;       // the id it was loaded under; its name in statements
  std::string FileName;     // the path it was finally loaded from
  std::int32_t Width = 0;   // pixels, right after loading
  std::int32_t Height = 0;  // pixels, right after loading
};

// A speech bookmark of the script file and the script it runs.
struct BookmarkEntry {
  std::int32_t BookmarkID = 0;
  std::string Script;
};

// A command the script offers in the characters' menus and to speech input.
struct CommandEntry {
  std::string Name;
  std::string Caption;
  std::string Voice;
  std::string Script;
};

// The start-up paths gAppPath, gExePath and gScriptFile are inherited, so the path
// helpers (util::ResolveScriptPath) take the Player itself.
class Player : public platform::AgentEvents,
               public platform::TrayEvents,
               public app::FormUnload,
               public util::StartupPaths {
 public:
  // `services` must hold every service and outlive the Player. The Player registers itself
  // as the character control's event listener and unregisters on destruction.
  explicit Player(platform::Platform& services);
  ~Player() override;
  Player(const Player&) = delete;
  Player& operator=(const Player&) = delete;

  // Start-up. `command_line` is the text that follows the program's own options (one
  // optional script path, not split); `program_file_name` is the running program's file
  // name (a folder and an extension, if given, are ignored). Plays the top-level script
  // before it returns; when no script could be opened the main form is unloaded.
  void Form_Load(const std::string& command_line, const std::string& program_file_name);

  // Unloads the main form: runs Form_Unload once and asks the message loop to quit. A
  // running script stops after its current line. Calling it again does nothing.
  void UnloadMainForm() override;
  bool Unloaded() const { return unloaded_; }
  // Closes the backdrop window when one is open.
  void UnloadBackdrop() override;

  // The uniform report of an unexpected error (`tag` names the module, `procedure` the
  // procedure). Cancel unloads the main form.
  app::ReportOutcome ReportError(std::string_view tag, std::string_view procedure,
                                 const RuntimeError& error);

  // The services of the host.
  platform::Ui& ui() const { return *services_.ui; }
  platform::Clock& clock() const { return *services_.clock; }
  platform::MessageLoop& loop() const { return *services_.loop; }
  platform::System& system() const { return *services_.system; }
  platform::AgentControl& agent() const { return *services_.agent; }
  // The notification area; null when the host has none.
  platform::Tray* tray() const { return services_.tray; }
  platform::Platform& services() const { return services_; }
  // The reader of script files, with its cache of parsed files.
  script::ProfileReader& profile() { return profile_reader_; }

  // Events of the character control.
  void OnBookmark(std::int32_t bookmark_id) override;
  void OnRequestComplete(platform::AgentRequest request) override;
  void OnCommand(const platform::UserInput& input) override;
  void OnShow(const std::string& character_id, platform::VisibilityCause cause) override;
  void OnHide(const std::string& character_id, platform::VisibilityCause cause) override;

  // Mouse events on the tray icon (Form_MouseMove).
  void OnTrayMouse(int mouse_message) override;

  // --- Start-up ---
  std::string gDoubleCrLf = "\r\n\r\n";
  std::int32_t gScreenWidth = 0;   // pixels
  std::int32_t gScreenHeight = 0;  // pixels
  std::string program_name;        // file name of the running program, no folder/extension
  std::string strScriptFile;       // the script path as written or chosen
  bool mfExitWhenDone = false;     // end at once when the script-end request completes
  bool fScriptComplete = false;    // the latest script-end request has completed
  bool script_opened = false;      // start-up opened a script (the host's exit status)

  // --- Characters: 1-based index into gCharacters, 0 while none is current ---
  std::vector<CharEntry> gCharacters;
  std::int16_t gCurCharIndex = 0;
  platform::AgentCharacter* gCurChar = nullptr;  // owned by the character control
  std::int16_t gCharCount() const { return static_cast<std::int16_t>(gCharacters.size()); }

  // --- Requests ---
  platform::AgentRequest mLastRequest;     // last request a character action queued
  platform::AgentRequest mEndRequest;      // end-of-script marker of the latest top-level run
  platform::AgentRequest mAdvanceRequest;  // latest slide-advance marker
  int play_script_depth = 0;               // PlayScript calls on the stack

  // --- Tables of the script file ---
  std::vector<BookmarkEntry> gBookmarks;
  std::vector<CommandEntry> gCommands;
  std::string gMenuName;
  std::int16_t gBookmarkCount() const { return static_cast<std::int16_t>(gBookmarks.size()); }
  std::int16_t gCommandCount() const { return static_cast<std::int16_t>(gCommands.size()); }

  // --- Slide-show settings of the script file ---
  std::string gPowerPointFile;
  std::int32_t gPowerPointAutoAdvance = 0;
  std::int32_t gPowerPointRepeat = 0;
  std::int32_t gPowerPointPause = 0;
  bool gPowerPointBusy = false;
  std::shared_ptr<CPowerPoint> gPowerPoint;  // the running slide-show driver, if any

  // --- System statements: media player, backdrop and PLAYSCRIPT nesting ---
  SystemModules system_modules;

  // --- Tray menu and shutdown ---
  std::vector<platform::MenuItem> mnuCharShow;  // item i-1 belongs to gCharacters entry i
  std::int16_t mCloseTicks = 0;                 // calls of tmrShutDown_Timer so far

 private:
  platform::Platform& services_;
  app::ErrorReport error_report_;
  script::ProfileReader profile_reader_;
  // Hands the presentation application's events to gPowerPoint.
  PowerPointEventSink power_point_events_{gPowerPoint};
  bool unloaded_ = false;
};

}  // namespace rirerazo
