#include "core/interp/date_phrases.h"

#include <array>
#include <string_view>

namespace rirerazo {
namespace {

constexpr std::array<std::string_view, 7> kWeekdays = {"Sunday",   "Monday", "Tuesday", "Wednesday",
                                                       "Thursday", "Friday", "Saturday"};
constexpr std::array<std::string_view, 12> kMonths = {
    "January", "February", "March",     "April",   "May",      "June",
    "July",    "August",   "September", "October", "November", "December"};

// A clock that reports a value outside its range gets the nearest name rather than an
// out-of-bounds read.
template <std::size_t N>
std::string_view NameAt(const std::array<std::string_view, N>& names, int index) {
  if (index < 0) index = 0;
  if (index >= static_cast<int>(N)) index = static_cast<int>(N) - 1;
  return names[static_cast<std::size_t>(index)];
}

}  // namespace

std::string DaySuffix(int day) {
  if (day == 11 || day == 12 || day == 13) return "th";
  switch (day % 10) {
    case 1:
      return "st";
    case 2:
      return "nd";
    case 3:
      return "rd";
    default:
      return "th";
  }
}

std::string GetDay(const platform::LocalDateTime& now) {
  return std::string(NameAt(kWeekdays, now.weekday));
}

std::string GetDate(const platform::LocalDateTime& now) {
  std::string text(NameAt(kMonths, now.month - 1));
  text += ' ' + std::to_string(now.day) + DaySuffix(now.day) + ", ";
  std::string year = std::to_string(now.year);
  if (now.year >= 0 && year.size() < 4) year.insert(0, 4 - year.size(), '0');
  return text + year;
}

std::string GetTime(const platform::LocalDateTime& now) {
  int hour12 = now.hour % 12;
  if (hour12 == 0) hour12 = 12;
  std::string minutes = std::to_string(now.minute);
  if (minutes.size() < 2) minutes.insert(0, 1, '0');
  return std::to_string(hour12) + ':' + minutes + (now.hour < 12 ? " AM" : " PM");
}

std::string GetTimeOfDay(const platform::LocalDateTime& now) {
  if (now.hour < 12) return "Morning";
  if (now.hour < 17) return "Afternoon";
  return "Evening";
}

}  // namespace rirerazo
