#include "runtime/speech_tags.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <optional>

#include "runtime/character_data.h"

namespace rirerazo::runtime {

namespace {

enum class Tag { kMrk, kPau, kSpd, kPit, kVol, kEmp, kChr, kRst, kLst, kMap, kIgnored };

struct TagName {
  std::string_view name;
  Tag tag;
};

constexpr std::array<TagName, 20> kTagNames = {{
    {"MRK", Tag::kMrk},     {"PAU", Tag::kPau},      {"SPD", Tag::kSpd},
    {"PIT", Tag::kPit},     {"VOL", Tag::kVol},      {"EMP", Tag::kEmp},
    {"CHR", Tag::kChr},     {"RST", Tag::kRst},      {"LST", Tag::kLst},
    {"MAP", Tag::kMap},     {"CTX", Tag::kIgnored},  {"ENG", Tag::kIgnored},
    {"PRN", Tag::kIgnored}, {"PRO", Tag::kIgnored},  {"PRT", Tag::kIgnored},
    {"RMS", Tag::kIgnored}, {"RPIT", Tag::kIgnored}, {"RSPD", Tag::kIgnored},
    {"VCE", Tag::kIgnored}, {"COM", Tag::kIgnored},
}};

bool IsSpace(char c) {
  return c == ' ' || c == '\t' || c == '\r' || c == '\n';
}
bool IsLetter(char c) {
  return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z');
}

std::optional<Tag> LookUpTag(std::string_view name) {
  for (const TagName& entry : kTagNames) {
    if (EqualsIgnoreCase(entry.name, name)) return entry.tag;
  }
  return std::nullopt;
}

std::string_view Trim(std::string_view text) {
  while (!text.empty() && IsSpace(text.front())) text.remove_prefix(1);
  while (!text.empty() && IsSpace(text.back())) text.remove_suffix(1);
  return text;
}

// "=n" with an optional sign; nothing else may follow.
std::optional<std::int32_t> NumberValue(std::string_view body) {
  body = Trim(body);
  if (body.empty() || body.front() != '=') return std::nullopt;
  body = Trim(body.substr(1));
  if (!body.empty() && body.front() == '+') body.remove_prefix(1);
  std::int32_t value = 0;
  auto [end, error] = std::from_chars(body.data(), body.data() + body.size(), value);
  if (error != std::errc() || end != body.data() + body.size()) return std::nullopt;
  return value;
}

// A double-quoted text at the start of `body` (after blanks); advances past it.
std::optional<std::string_view> TakeQuoted(std::string_view& body) {
  body = Trim(body);
  if (body.empty() || body.front() != '"') return std::nullopt;
  std::size_t close = body.find('"', 1);
  if (close == std::string_view::npos) return std::nullopt;
  std::string_view text = body.substr(1, close - 1);
  body.remove_prefix(close + 1);
  return text;
}

bool TakeEquals(std::string_view& body) {
  body = Trim(body);
  if (body.empty() || body.front() != '=') return false;
  body.remove_prefix(1);
  return true;
}

// Where the tag that starts at `open` (a backslash followed by a letter) closes: the next
// backslash outside double quotes.
std::size_t FindTagClose(std::string_view text, std::size_t open) {
  bool quoted = false;
  for (std::size_t i = open + 1; i < text.size(); ++i) {
    if (text[i] == '"') quoted = !quoted;
    if (text[i] == '\\' && !quoted) return i;
  }
  return std::string_view::npos;
}

class Parser {
 public:
  SpeechText Parse(std::string_view text);

 private:
  void AddText(std::string_view spoken, std::string_view shown, bool mapped);
  void AddItem(SpeechItemKind kind, std::int32_t value) {
    SpeechItem item;
    item.kind = kind;
    item.value = value;
    result_.items.push_back(item);
  }
  std::size_t TryTag(std::string_view text, std::size_t open, std::string& plain);
  void ApplyTag(Tag tag, std::string_view body);

  SpeechText result_;
  std::size_t tag_count_ = 0;
  bool lst_seen_ = false;
};

// Appends text, one word item per blank-separated word of the spoken form. Every word of a
// mapped text reveals the whole shown form.
void Parser::AddText(std::string_view spoken, std::string_view shown, bool mapped) {
  std::uint32_t base = std::uint32_t(result_.spoken.size());
  std::uint32_t shown_base = std::uint32_t(result_.shown.size());
  result_.spoken.append(spoken);
  result_.shown.append(shown);
  std::size_t i = 0;
  while (i < spoken.size()) {
    while (i < spoken.size() && IsSpace(spoken[i])) ++i;
    std::size_t start = i;
    while (i < spoken.size() && !IsSpace(spoken[i])) ++i;
    if (i == start) break;
    SpeechItem word;
    word.spoken_begin = base + std::uint32_t(start);
    word.spoken_length = std::uint32_t(i - start);
    word.shown_end = mapped ? std::uint32_t(result_.shown.size()) : shown_base + std::uint32_t(i);
    result_.items.push_back(word);
  }
}

void Parser::ApplyTag(Tag tag, std::string_view body) {
  std::optional<std::int32_t> number;
  switch (tag) {
    case Tag::kMrk:
      if ((number = NumberValue(body))) AddItem(SpeechItemKind::kMark, *number);
      return;
    case Tag::kPau:
      if ((number = NumberValue(body))) AddItem(SpeechItemKind::kPause, *number);
      return;
    case Tag::kSpd:
      if ((number = NumberValue(body))) AddItem(SpeechItemKind::kSpeed, *number);
      return;
    case Tag::kPit:
      if ((number = NumberValue(body))) AddItem(SpeechItemKind::kPitch, *number);
      return;
    case Tag::kVol:
      if ((number = NumberValue(body))) AddItem(SpeechItemKind::kVolume, *number);
      return;
    case Tag::kEmp:
      AddItem(SpeechItemKind::kEmphasis, 0);
      return;
    case Tag::kRst:
      AddItem(SpeechItemKind::kReset, 0);
      return;
    case Tag::kLst:
      lst_seen_ = true;
      return;
    case Tag::kChr: {
      std::optional<std::string_view> name;
      if (!TakeEquals(body) || !(name = TakeQuoted(body)) || !Trim(body).empty()) return;
      if (EqualsIgnoreCase(*name, "Normal")) AddItem(SpeechItemKind::kVoiceCharacter, 0);
      if (EqualsIgnoreCase(*name, "Monotone")) AddItem(SpeechItemKind::kVoiceCharacter, 1);
      if (EqualsIgnoreCase(*name, "Whisper")) AddItem(SpeechItemKind::kVoiceCharacter, 2);
      return;
    }
    case Tag::kMap: {
      std::optional<std::string_view> spoken, shown;
      if (!TakeEquals(body) || !(spoken = TakeQuoted(body)) || !TakeEquals(body) ||
          !(shown = TakeQuoted(body)) || !Trim(body).empty()) {
        return;
      }
      AddText(*spoken, *shown, true);
      return;
    }
    case Tag::kIgnored:
      return;
  }
}

// Returns the index after the tag, or `open` when no tag starts there. The plain text before
// a tag is added first, so items keep the order of the text.
std::size_t Parser::TryTag(std::string_view text, std::size_t open, std::string& plain) {
  std::size_t name_end = open + 1;
  while (name_end < text.size() && IsLetter(text[name_end])) ++name_end;
  if (name_end == open + 1) return open;
  std::optional<Tag> tag = LookUpTag(text.substr(open + 1, name_end - open - 1));
  if (!tag) return open;
  std::size_t close = FindTagClose(text, open);
  if (close == std::string_view::npos) return open;
  ++tag_count_;
  AddText(plain, plain, false);
  plain.clear();
  ApplyTag(*tag, text.substr(name_end, close - name_end));
  return close + 1;
}

SpeechText Parser::Parse(std::string_view text) {
  std::string plain;  // text since the last tag, doubled backslashes made single
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != '\\') {
      plain.push_back(text[i++]);
      continue;
    }
    if (i + 1 < text.size() && text[i + 1] == '\\') {
      plain.push_back('\\');
      i += 2;
      continue;
    }
    std::size_t after = TryTag(text, i, plain);
    if (after == i) plain.push_back(text[i++]);
    i = std::max(i, after);
  }
  AddText(plain, plain, false);
  result_.repeat_last = lst_seen_ && tag_count_ == 1 && Trim(result_.spoken).empty();
  return std::move(result_);
}

}  // namespace

SpeechText ParseSpeechText(std::string_view text) {
  return Parser().Parse(text);
}

}  // namespace rirerazo::runtime
