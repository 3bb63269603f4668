#include "voice/listening_thread.h"

#include <chrono>
#include <vector>

namespace rirerazo::voice {

namespace {

std::int64_t SteadyNowNs() {
  return std::chrono::duration_cast<std::chrono::nanoseconds>(
             std::chrono::steady_clock::now().time_since_epoch())
      .count();
}

}  // namespace

ListeningThread::ListeningThread(std::unique_ptr<AudioSource> source,
                                 runtime::SpeechRecognizer& recognizer)
    : source_(std::move(source)), recognizer_(recognizer), thread_([this] { Run(); }) {}

ListeningThread::~ListeningThread() {
  Finish(false);
}

// A source that gives nothing is asked again after a short rest rather than spun on; a
// source that is gone ends the session with a report.
void ListeningThread::Run() {
  std::vector<std::int16_t> block(kBlockSamples);
  recognizer_.StartUtterance();
  while (!stop_.load()) {
    long count = source_->Read(block.data(), block.size());
    if (count < 0) {
      Report({ListenReport::Kind::kSourceGone, {}, SteadyNowNs()});
      break;
    }
    if (count == 0) {
      std::this_thread::sleep_for(std::chrono::milliseconds(10));
      continue;
    }
    recognizer_.Feed(block.data(), std::size_t(count));
    bool speaking = recognizer_.InSpeech();
    if (in_speech_ && !speaking) {
      std::int64_t ended_ns = SteadyNowNs();
      Report({ListenReport::Kind::kHeard, recognizer_.EndUtterance(), ended_ns});
      recognizer_.StartUtterance();
    }
    in_speech_ = speaking;
  }
}

void ListeningThread::Report(ListenReport report) {
  std::lock_guard lock(mutex_);
  reports_.push_back(std::move(report));
}

std::optional<ListenReport> ListeningThread::Poll() {
  std::lock_guard lock(mutex_);
  if (reports_.empty()) return std::nullopt;
  ListenReport report = std::move(reports_.front());
  reports_.pop_front();
  return report;
}

void ListeningThread::Finish(bool keep_phrase) {
  if (finished_) return;
  finished_ = true;
  stop_ = true;
  if (thread_.joinable()) thread_.join();
  runtime::Recognition heard = recognizer_.EndUtterance();
  if (keep_phrase && in_speech_)
    Report({ListenReport::Kind::kHeard, std::move(heard), SteadyNowNs()});
  source_.reset();
}

}  // namespace rirerazo::voice
