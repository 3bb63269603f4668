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
// The blank line between the parts of a message.
inline constexpr const char* kDoubleCrLf = "\r\n\r\n";

// One loaded character, in load order.
struct CharEntry {
  std::string id;              // the id it was loaded under; its name in statements
  std::string file_name;       // the path it was finally loaded from
  std::int32_t width_px = 0;   // right after loading
  std::int32_t height_px = 0;  // right after loading
};

// The characters loaded so far and the one statements address. The table only grows
// during a run; `current_index` is 1-based into `loaded`, 0 while none is current.
struct CharacterTable {
  std::vector<CharEntry> loaded;
  std::int16_t current_index = 0;
  platform::AgentCharacter* current = nullptr;  // owned by the character control
  std::int16_t count() const { return static_cast<std::int16_t>(loaded.size()); }
};

// A speech bookmark of the script file and the script it runs.
struct BookmarkEntry {
  std::int32_t id = 0;
  std::string script;
};

// A command the script offers in the characters' menus and to speech input.
struct CommandEntry {
  std::string name;
  std::string caption;
  std::string voice;
  std::string script;
};

// The tables a script file brings: its bookmarks, its commands and the caption of their
// menu. Opening a script file replaces them.
struct ScriptTables {
  std::vector<BookmarkEntry> bookmarks;
  std::vector<CommandEntry> commands;
  std::string menu_name;  // empty: each character's menu is named after it
};

// The slide-show settings of the script file and the running driver.
struct SlideShow {
  std::string file;               // the presentation; empty when the script names none
  std::int32_t auto_advance = 0;  // non-zero: each script run ends with the advance marker
  std::int32_t repeat = 0;
  std::int32_t pause_s = 0;             // wait before an automatic slide change
  bool busy = false;                    // a slide show runs (or is about to)
  std::shared_ptr<CPowerPoint> driver;  // the running slide-show driver, if any
};

// What the interpreter's calls share: the requests character actions queued, the marker
// requests of the latest runs and how deep PlayScript calls nest.
struct ScriptRun {
  platform::AgentRequest last_request;     // last request a character action queued
  platform::AgentRequest end_request;      // end-of-script marker of the latest top-level run
  platform::AgentRequest advance_request;  // latest slide-advance marker
  bool script_complete = false;            // the latest end_request has completed
  int play_script_depth = 0;               // PlayScript calls on the stack
};

// What start-up found out: the program's name, the script it was given, the screen, and
// the outcome the host reports.
struct StartupState {
  std::string program_name;     // file name of the running program, no folder/extension
  std::string script_argument;  // the script path as written or chosen
  std::int32_t screen_width_px = 0;
  std::int32_t screen_height_px = 0;
  bool exit_when_done = false;  // end at once when the end-of-script request completes
  bool script_opened = false;   // start-up opened a script (the host's exit status)
};

// The main form's own state: the tray menu's character items and the shutdown's ticks.
struct FormState {
  std::vector<platform::MenuItem> character_items;  // item i-1 belongs to character i
  std::int16_t close_ticks = 0;                     // calls of tmrShutDown_Timer so far
};

// The Player has no public data: its state is reached through the named parts above, and
// each procedure that needs only one part should take that part.
class Player : public platform::AgentEvents, public platform::TrayEvents, public app::FormUnload {
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

  // The parts of the player's state.
  util::StartupPaths& paths() { return paths_; }
  const util::StartupPaths& paths() const { return paths_; }
  StartupState& startup() { return startup_; }
  const StartupState& startup() const { return startup_; }
  CharacterTable& characters() { return characters_; }
  const CharacterTable& characters() const { return characters_; }
  ScriptRun& run() { return run_; }
  const ScriptRun& run() const { return run_; }
  ScriptTables& tables() { return tables_; }
  const ScriptTables& tables() const { return tables_; }
  SlideShow& slide_show() { return slide_show_; }
  const SlideShow& slide_show() const { return slide_show_; }
  // What system statements keep between lines: media player, backdrop, PLAYSCRIPT nesting.
  SystemModules& modules() { return modules_; }
  FormState& form() { return form_; }
  const FormState& form() const { return form_; }

 private:
  platform::Platform& services_;
  app::ErrorReport error_report_;
  script::ProfileReader profile_reader_;
  util::StartupPaths paths_;
  StartupState startup_;
  CharacterTable characters_;
  ScriptRun run_;
  ScriptTables tables_;
  SlideShow slide_show_;
  SystemModules modules_;
  FormState form_;
  // Hands the presentation application's events to the running slide-show driver.
  PowerPointEventSink power_point_events_{slide_show_.driver};
  bool unloaded_ = false;
};

}  // namespace rirerazo
