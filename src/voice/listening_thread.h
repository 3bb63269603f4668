// A listening session on a thread of its own: reads the audio source in short blocks, feeds
// the recogniser, and queues a report for every phrase that ends (speech followed by
// silence) until it is finished. The player's thread polls the queue.
#pragma once

#include <atomic>
#include <deque>
#include <memory>
#include <mutex>
#include <thread>

#include "voice_module.h"

namespace rirerazo::voice {

class ListeningThread : public Listener {
 public:
  // Starts at once; `recognizer` must outlive the session (or its Finish).
  ListeningThread(std::unique_ptr<AudioSource> source, runtime::SpeechRecognizer& recognizer);
  ~ListeningThread() override;

  std::optional<ListenReport> Poll() override;
  void Finish(bool keep_phrase) override;

  // 100 ms at 16 kHz: short enough for a quick end of phrase, long enough to stay cheap.
  static constexpr std::size_t kBlockSamples = 1600;

 private:
  void Run();
  void Report(ListenReport report);

  std::unique_ptr<AudioSource> source_;
  runtime::SpeechRecognizer& recognizer_;
  std::atomic<bool> stop_{false};
  std::mutex mutex_;
  std::deque<ListenReport> reports_;
  bool finished_ = false;
  bool in_speech_ = false;  // the listening thread's own, read after it joined
  std::thread thread_;
};

}  // namespace rirerazo::voice
