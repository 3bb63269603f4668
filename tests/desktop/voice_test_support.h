// A fake voice module for the desktop's listening tests: no recogniser and no microphone,
// but a listener whose reports the test scripts, and counts of what was opened. Its state is
// global because the module's table holds plain function pointers.
#pragma once

#include <atomic>
#include <chrono>
#include <deque>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/agent_control.h"
#include "voice_module.h"

namespace rirerazo::desktop::testing {

struct FakeVoice {
  static inline bool module_present = true;
  static inline int loads = 0;
  static inline int microphones = 0;
  static inline int open_listeners = 0;
  static inline int finished_keeping_phrase = 0;
  static inline bool offerable = true;  // whether SetGrammars finds a grammar to offer
  static inline int grammar_sets = 0;
  // While set, making the recogniser waits (it runs on a loading thread), as a first load does.
  static inline std::atomic<bool> hold_recognizer = false;
  static inline std::vector<std::string> grammars;  // as the recogniser was given them
  static inline std::deque<voice::ListenReport> reports;
  // Reported by a Finish that keeps the phrase in progress.
  static inline std::optional<runtime::Recognition> in_progress;

  static void Reset() {
    module_present = true;
    loads = microphones = open_listeners = finished_keeping_phrase = grammar_sets = 0;
    offerable = true;
    hold_recognizer = false;
    grammars.clear();
    reports.clear();
    in_progress.reset();
  }
  static void Report(runtime::Recognition heard) {
    reports.push_back({voice::ListenReport::Kind::kHeard, std::move(heard), 0});
  }
  static void ReportGone() { reports.push_back({voice::ListenReport::Kind::kSourceGone, {}, 0}); }

  static const voice::VoiceModule* Loader(std::string* error) {
    ++loads;
    if (module_present) return &kModule;
    *error = "no module here";
    return nullptr;
  }

 private:
  class Recognizer : public runtime::SpeechRecognizer {
   public:
    bool SetGrammars(const std::vector<std::string>& offered) override {
      grammars = offered;
      ++grammar_sets;
      return offerable;
    }
    void StartUtterance() override {}
    void Feed(const std::int16_t*, std::size_t) override {}
    bool InSpeech() const override { return false; }
    runtime::Recognition EndUtterance() override { return {}; }
  };
  class Microphone : public voice::AudioSource {
   public:
    long Read(std::int16_t*, std::size_t) override { return 0; }
  };
  class Listener : public voice::Listener {
   public:
    Listener() { ++open_listeners; }
    ~Listener() override { Finish(false); }
    std::optional<voice::ListenReport> Poll() override {
      if (reports.empty()) return std::nullopt;
      voice::ListenReport report = std::move(reports.front());
      reports.pop_front();
      return report;
    }
    void Finish(bool keep_phrase) override {
      if (finished_) return;
      finished_ = true;
      --open_listeners;
      if (!keep_phrase) return;
      ++finished_keeping_phrase;
      if (in_progress) Report(*std::exchange(in_progress, std::nullopt));
    }

   private:
    bool finished_ = false;
  };

  static std::unique_ptr<runtime::SpeechRecognizer> MakeRecognizer(std::ostream&, std::string*) {
    while (hold_recognizer) std::this_thread::sleep_for(std::chrono::milliseconds(1));
    return std::make_unique<Recognizer>();
  }
  static std::unique_ptr<voice::AudioSource> OpenMicrophone(std::string*) {
    ++microphones;
    return std::make_unique<Microphone>();
  }
  static std::unique_ptr<voice::Listener> StartListening(std::unique_ptr<voice::AudioSource>,
                                                         runtime::SpeechRecognizer&) {
    return std::make_unique<Listener>();
  }
  static std::optional<runtime::Recognition> RecognizeFile(runtime::SpeechRecognizer&,
                                                           const std::string&, std::string*) {
    return std::nullopt;
  }
  static inline const voice::VoiceModule kModule{MakeRecognizer, OpenMicrophone, StartListening,
                                                 RecognizeFile};
};

// The runtime's events in order ("ListenStart Rira"), and the commands with their input.
class ListenEvents : public platform::AgentEvents {
 public:
  void OnBookmark(std::int32_t) override {}
  void OnRequestComplete(platform::AgentRequest) override {}
  void OnCommand(const platform::UserInput& input) override {
    commands.push_back(input);
    log.push_back("Command " + input.character_id);
  }
  void OnShow(const std::string&, platform::VisibilityCause) override {}
  void OnHide(const std::string&, platform::VisibilityCause) override {}
  void OnListenStart(const std::string& id) override { log.push_back("ListenStart " + id); }
  void OnListenComplete(const std::string& id) override { log.push_back("ListenComplete " + id); }
  std::vector<std::string> log;
  std::vector<platform::UserInput> commands;
};

}  // namespace rirerazo::desktop::testing
