#include "headless/virtual_clock.h"

#include <charconv>

namespace rirerazo::headless {

namespace {

constexpr std::int64_t kMsPerDay = 86'400'000;

bool IsLeap(int year) {
  return (year % 4 == 0 && year % 100 != 0) || year % 400 == 0;
}

int DaysInMonth(int year, int month) {
  static constexpr int kDays[] = {31, 28, 31, 30, 31, 30, 31, 31, 30, 31, 30, 31};
  return month == 2 && IsLeap(year) ? 29 : kDays[month - 1];
}

// Reads exactly `digits` decimal digits at `pos`.
std::optional<int> Digits(std::string_view text, std::size_t pos, std::size_t digits) {
  if (pos + digits > text.size()) return std::nullopt;
  for (std::size_t i = pos; i < pos + digits; ++i) {
    if (text[i] < '0' || text[i] > '9') return std::nullopt;
  }
  int value = 0;
  auto [end, error] = std::from_chars(text.data() + pos, text.data() + pos + digits, value);
  if (error != std::errc() || end != text.data() + pos + digits) return std::nullopt;
  return value;
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

}  // namespace

// Civil-date conversions after the well-known era-based algorithm (400-year cycles).
std::int64_t DaysFromCivil(int year, int month, int day) {
  std::int64_t y = std::int64_t(year) - (month <= 2 ? 1 : 0);
  std::int64_t era = FloorDiv(y, 400);
  std::int64_t year_of_era = y - era * 400;
  std::int64_t day_of_year = (153 * (month + (month > 2 ? -3 : 9)) + 2) / 5 + day - 1;
  std::int64_t day_of_era = year_of_era * 365 + year_of_era / 4 - year_of_era / 100 + day_of_year;
  return era * 146097 + day_of_era - 719468;
}

platform::LocalDateTime CivilFromDays(std::int64_t days) {
  std::int64_t z = days + 719468;
  std::int64_t era = FloorDiv(z, 146097);
  std::int64_t day_of_era = z - era * 146097;
  std::int64_t year_of_era =
      (day_of_era - day_of_era / 1460 + day_of_era / 36524 - day_of_era / 146096) / 365;
  std::int64_t day_of_year = day_of_era - (365 * year_of_era + year_of_era / 4 - year_of_era / 100);
  std::int64_t mp = (5 * day_of_year + 2) / 153;
  platform::LocalDateTime date;
  date.day = int(day_of_year - (153 * mp + 2) / 5 + 1);
  date.month = int(mp < 10 ? mp + 3 : mp - 9);
  date.year = int(year_of_era + era * 400 + (date.month <= 2 ? 1 : 0));
  date.weekday = int(((days + 4) % 7 + 7) % 7);  // 1970-01-01 was a Thursday
  return date;
}

VirtualClock::VirtualClock(const platform::LocalDateTime& start) {
  start_days_ = DaysFromCivil(start.year, start.month, start.day);
  start_ms_of_day_ = ((std::int64_t(start.hour) * 60 + start.minute) * 60 + start.second) * 1000;
}

platform::LocalDateTime VirtualClock::LocalNow() const {
  std::int64_t total = start_ms_of_day_ + now_ms_;
  platform::LocalDateTime now = CivilFromDays(start_days_ + FloorDiv(total, kMsPerDay));
  std::int64_t seconds = (total - FloorDiv(total, kMsPerDay) * kMsPerDay) / 1000;
  now.hour = int(seconds / 3600);
  now.minute = int(seconds / 60 % 60);
  now.second = int(seconds % 60);
  return now;
}

void VirtualClock::AdvanceTo(std::int64_t ms) {
  if (ms > now_ms_) now_ms_ = ms;
}

std::optional<platform::LocalDateTime> ParseStartTime(std::string_view text) {
  std::optional<int> year = Digits(text, 0, 4), month = Digits(text, 5, 2),
                     day = Digits(text, 8, 2);
  if (!year || !month || !day || text[4] != '-' || text[7] != '-') return std::nullopt;
  if (*month < 1 || *month > 12 || *day < 1 || *day > DaysInMonth(*year, *month)) {
    return std::nullopt;
  }
  platform::LocalDateTime result = CivilFromDays(DaysFromCivil(*year, *month, *day));
  if (text.size() == 10) return result;
  if (text.size() != 16 && text.size() != 19) return std::nullopt;
  if (text[10] != 'T' && text[10] != ' ') return std::nullopt;
  std::optional<int> hour = Digits(text, 11, 2), minute = Digits(text, 14, 2);
  std::optional<int> second = text.size() == 19 ? Digits(text, 17, 2) : std::optional<int>(0);
  if (!hour || !minute || !second || text[13] != ':' || (text.size() == 19 && text[16] != ':')) {
    return std::nullopt;
  }
  if (*hour > 23 || *minute > 59 || *second > 59) return std::nullopt;
  result.hour = *hour;
  result.minute = *minute;
  result.second = *second;
  return result;
}

}  // namespace rirerazo::headless
