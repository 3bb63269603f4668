#include "runtime/character_runtime.h"

#include <algorithm>
#include <limits>

#include "platform/runtime_error.h"
#include "runtime/character_folders.h"
#include "runtime/private/character.h"

namespace rirerazo::runtime {

namespace {

// A guard against a step that never lets time move on; no known input gets near it.
constexpr std::size_t kMaxStepsPerAdvance = 50'000'000;
constexpr int kMaxWaitChain = 64;

std::shared_ptr<const acs::Character> ReadFromDisk(const std::string& path) {
  return std::make_shared<const acs::Character>(acs::ReadCharacterFile(path));
}

}  // namespace

CharacterRuntime::CharacterRuntime(const platform::Clock& clock, SpeechEngine& engine,
                                   RuntimeOptions options)
    : clock_(clock), engine_(engine), options_(options), loader_(ReadFromDisk) {}

CharacterRuntime::~CharacterRuntime() = default;

// ---------------------------------------------------------------------------------------------
// Characters.

runtime::Character* CharacterRuntime::Find(const std::string& id) const {
  for (const auto& character : characters_) {
    if (EqualsIgnoreCase(character->Id(), id)) return character.get();
  }
  return nullptr;
}

runtime::Character& CharacterRuntime::Get(const std::string& id) const {
  runtime::Character* character = Find(id);
  if (!character) {
    throw RuntimeError(err::kInvalidProcedureCall, "No character is loaded as \"" + id + "\".");
  }
  return *character;
}

platform::AgentCharacter& CharacterRuntime::Character(const std::string& id) {
  return Get(id);
}

std::shared_ptr<const CharacterData> CharacterRuntime::LoadData(const std::string& resolved) {
  std::weak_ptr<const CharacterData>& cached = data_cache_[resolved];
  if (std::shared_ptr<const CharacterData> data = cached.lock()) return data;
  std::shared_ptr<const acs::Character> file;
  try {
    file = loader_(resolved);
  } catch (const RuntimeError&) {
    throw;
  } catch (const std::exception& error) {
    throw RuntimeError(err::kPathFileAccessError,
                       "The character file " + resolved + " cannot be read: " + error.what());
  }
  if (!file) {
    throw RuntimeError(err::kPathFileAccessError,
                       "The character file " + resolved + " cannot be read.");
  }
  std::shared_ptr<const CharacterData> data = BuildCharacterData(std::move(file));
  cached = data;
  return data;
}

// Nothing changes unless the whole load succeeds.
void CharacterRuntime::Load(const std::string& id, const std::string& path) {
  CatchUp();
  if (id.empty()) throw RuntimeError(err::kInvalidProcedureCall, "A character needs an id.");
  if (Find(id)) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       "A character is already loaded as \"" + id + "\".");
  }
  std::string resolved = FindCharacterFile(path, folders_);
  if (resolved.empty()) {
    throw RuntimeError(err::kFileNotFound, "The character file \"" + path + "\" was not found.");
  }
  std::shared_ptr<const CharacterData> data = LoadData(resolved);
  characters_.push_back(
      std::make_unique<runtime::Character>(*this, id, next_serial_++, std::move(data), options_));
  due_known_ = false;
}

// Every request of the character ends (interrupted) first, so waits on them are released.
void CharacterRuntime::Unload(const std::string& id) {
  CatchUp();
  runtime::Character& character = Get(id);
  character.EndAll(clock_.NowMs());
  std::erase_if(characters_, [&](const auto& entry) { return entry.get() == &character; });
  due_known_ = false;
}

void CharacterRuntime::ShowPropertySheet() {
  ++property_sheet_shows_;
  if (observer_) observer_->OnPropertySheetShown();
}

// ---------------------------------------------------------------------------------------------
// Requests.

std::int32_t CharacterRuntime::NewRequest(const runtime::Character& owner) {
  if (requests_.size() >= std::size_t(std::numeric_limits<std::int32_t>::max())) {
    throw RuntimeError(err::kOverflow, "No request ids are left.");
  }
  requests_.push_back({owner.Serial(), platform::RequestStatus::kPending});
  return std::int32_t(requests_.size());
}

platform::RequestStatus CharacterRuntime::StatusOf(std::int32_t id) const {
  if (id <= 0 || std::size_t(id) > requests_.size()) {
    throw RuntimeError(err::kInvalidProcedureCall,
                       "There is no request with the id " + std::to_string(id) + ".");
  }
  return requests_[std::size_t(id) - 1].status;
}

platform::RequestStatus CharacterRuntime::Status(platform::AgentRequest request) const {
  return StatusOf(request.id);
}

void CharacterRuntime::SetStatus(std::int32_t id, platform::RequestStatus status) {
  requests_[std::size_t(id) - 1].status = status;
}

const runtime::Character* CharacterRuntime::OwnerOf(std::int32_t id) const {
  std::uint32_t serial = requests_[std::size_t(id) - 1].owner_serial;
  for (const auto& character : characters_) {
    if (character->Serial() == serial) return character.get();
  }
  return nullptr;
}

void CharacterRuntime::RequestEnded(std::int32_t id, std::int64_t at_ms) {
  for (const auto& character : characters_) character->OnRequestEnded(id, at_ms);
  rescan_ = true;
}

bool CharacterRuntime::RequestCanProgress(std::int32_t id, int depth) const {
  if (depth > kMaxWaitChain) return false;
  if (IsFinished(StatusOf(id))) return true;
  const runtime::Character* owner = OwnerOf(id);
  return owner == nullptr || owner->Progressing(depth);
}

// ---------------------------------------------------------------------------------------------
// Time and events.

void CharacterRuntime::Raise(PendingEvent event) {
  event.at_ms = stepping_at_ms_ ? *stepping_at_ms_ : clock_.NowMs();
  events_.push_back(std::move(event));
}

// Steps whichever character is due first (the earlier loaded on a tie), one step at a time,
// so events across characters come out in time order. Each character's next due time is kept
// in dues_ while nothing but its own steps changes it; a request that ends may release
// another character's wait, so it asks for all of them to be looked at again.
void CharacterRuntime::Advance(std::int64_t now_ms) {
  if (advancing_) return;
  advancing_ = true;
  bool rescan = !due_known_ || dues_.size() != characters_.size();
  due_known_ = false;
  for (std::size_t steps = 0; steps < kMaxStepsPerAdvance; ++steps) {
    if (rescan || rescan_) {
      dues_.resize(characters_.size());
      for (std::size_t i = 0; i < characters_.size(); ++i) dues_[i] = characters_[i]->NextDueMs();
      rescan = rescan_ = false;
    }
    std::size_t best = characters_.size();
    for (std::size_t i = 0; i < dues_.size(); ++i) {
      if (dues_[i] && (best == characters_.size() || *dues_[i] < *dues_[best])) best = i;
    }
    if (best == characters_.size() || *dues_[best] > now_ms) {
      due_ms_ = best == characters_.size() ? std::nullopt : dues_[best];
      due_known_ = true;
      break;
    }
    stepping_at_ms_ = dues_[best];
    characters_[best]->Step(*dues_[best]);
    dues_[best] = characters_[best]->NextDueMs();
  }
  stepping_at_ms_.reset();
  advancing_ = false;
}

std::optional<std::int64_t> CharacterRuntime::NextDueMs() const {
  if (due_known_) return due_ms_;
  dues_.resize(characters_.size());
  std::optional<std::int64_t> earliest;
  for (std::size_t i = 0; i < characters_.size(); ++i) {
    dues_[i] = characters_[i]->NextDueMs();
    if (dues_[i] && (!earliest || *dues_[i] < *earliest)) earliest = dues_[i];
  }
  due_ms_ = earliest;
  due_known_ = true;
  return earliest;
}

bool CharacterRuntime::HasPendingWork() const {
  if (!events_.empty()) return true;
  return std::any_of(characters_.begin(), characters_.end(),
                     [](const auto& character) { return character->Progressing(0); });
}

bool CharacterRuntime::AwaitsUserInput() const {
  return std::any_of(characters_.begin(), characters_.end(), [](const auto& character) {
    return character->OffersInput() || character->HoldsForUser();
  });
}

std::size_t CharacterRuntime::DeliverEvents() {
  std::size_t delivered = 0;
  while (!events_.empty()) {
    PendingEvent event = std::move(events_.front());
    events_.pop_front();
    ++delivered;
    if (listener_) DeliverTo(*listener_, event);
  }
  return delivered;
}

// ---------------------------------------------------------------------------------------------
// User input and rendering.

void CharacterRuntime::ChooseCommand(const std::string& id, const platform::UserInput& input) {
  Get(id).ChooseCommand(input);
}

void CharacterRuntime::Hear(const std::string& id, const std::string& phrase,
                            std::int32_t confidence) {
  Get(id).Hear(phrase, confidence);
}

void CharacterRuntime::Click(const std::string& id, int x_px, int y_px) {
  Get(id).Click(x_px, y_px);
}

void CharacterRuntime::Drag(const std::string& id, int x_px, int y_px) {
  Get(id).Drag(x_px, y_px);
}

void CharacterRuntime::UserShow(const std::string& id) {
  Get(id).UserShow();
}
void CharacterRuntime::UserHide(const std::string& id) {
  Get(id).UserHide();
}

std::vector<std::string> CharacterRuntime::CharacterIds() const {
  std::vector<std::string> ids;
  for (const auto& character : characters_) ids.push_back(character->Id());
  return ids;
}

FrameState CharacterRuntime::Frame(const std::string& id) const {
  return Get(id).Frame(clock_.NowMs());
}

BalloonView CharacterRuntime::Balloon(const std::string& id) const {
  return Get(id).Balloon();
}

const CommandSet& CharacterRuntime::Commands(const std::string& id) const {
  return Get(id).Commands();
}

}  // namespace rirerazo::runtime
