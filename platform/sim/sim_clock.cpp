#include "platform/sim/sim_clock.h"

#include <chrono>
#include <optional>
#include <string>

namespace mivo::sim {

namespace {

namespace chrono = std::chrono;

// Day and month names of one language as the system formats them, in Windows-1252 bytes
// (an octal escape where a hex escape would swallow the next letter).
struct LocaleNames {
  const char* days[7];  // from Sunday
  const char* short_days[7];
  const char* months[12];
  const char* short_months[12];
  const char* short_date;  // the picture used when the caller gives none
};

constexpr LocaleNames kEnglish = {
    {"Sunday", "Monday", "Tuesday", "Wednesday", "Thursday", "Friday", "Saturday"},
    {"Sun", "Mon", "Tue", "Wed", "Thu", "Fri", "Sat"},
    {"January", "February", "March", "April", "May", "June", "July", "August", "September",
     "October", "November", "December"},
    {"Jan", "Feb", "Mar", "Apr", "May", "Jun", "Jul", "Aug", "Sep", "Oct", "Nov", "Dec"},
    "M/d/yyyy"};

constexpr LocaleNames kGerman = {
    {"Sonntag", "Montag", "Dienstag", "Mittwoch", "Donnerstag", "Freitag", "Samstag"},
    {"So", "Mo", "Di", "Mi", "Do", "Fr", "Sa"},
    {"Januar", "Februar", "M\xE4rz", "April", "Mai", "Juni", "Juli", "August", "September",
     "Oktober", "November", "Dezember"},
    {"Jan.", "Feb.", "M\xE4rz", "Apr.", "Mai", "Juni", "Juli", "Aug.", "Sept.", "Okt.", "Nov.",
     "Dez."},
    "dd.MM.yyyy"};

constexpr LocaleNames kSpanish = {
    {"domingo", "lunes", "martes", "mi\xE9rcoles", "jueves", "viernes", "s\341bado"},
    {"dom.", "lun.", "mar.", "mi\xE9.", "jue.", "vie.", "s\341b."},
    {"enero", "febrero", "marzo", "abril", "mayo", "junio", "julio", "agosto", "septiembre",
     "octubre", "noviembre", "diciembre"},
    {"ene.", "feb.", "mar.", "abr.", "may.", "jun.", "jul.", "ago.", "sep.", "oct.", "nov.",
     "dic."},
    "dd/MM/yyyy"};

constexpr LocaleNames kFrench = {
    {"dimanche", "lundi", "mardi", "mercredi", "jeudi", "vendredi", "samedi"},
    {"dim.", "lun.", "mar.", "mer.", "jeu.", "ven.", "sam."},
    {"janvier", "f\xE9vrier", "mars", "avril", "mai", "juin", "juillet", "ao\xFBt", "septembre",
     "octobre", "novembre", "d\351cembre"},
    {"janv.", "f\xE9vr.", "mars", "avr.", "mai", "juin", "juil.", "ao\xFBt", "sept.", "oct.",
     "nov.", "d\351c."},
    "dd/MM/yyyy"};

constexpr LocaleNames kItalian = {
    {"domenica", "luned\xEC", "marted\xEC", "mercoled\xEC", "gioved\xEC", "venerd\xEC", "sabato"},
    {"dom", "lun", "mar", "mer", "gio", "ven", "sab"},
    {"gennaio", "febbraio", "marzo", "aprile", "maggio", "giugno", "luglio", "agosto", "settembre",
     "ottobre", "novembre", "dicembre"},
    {"gen", "feb", "mar", "apr", "mag", "giu", "lug", "ago", "set", "ott", "nov", "dic"},
    "dd/MM/yyyy"};

constexpr LocaleNames kDutch = {
    {"zondag", "maandag", "dinsdag", "woensdag", "donderdag", "vrijdag", "zaterdag"},
    {"zo", "ma", "di", "wo", "do", "vr", "za"},
    {"januari", "februari", "maart", "april", "mei", "juni", "juli", "augustus", "september",
     "oktober", "november", "december"},
    {"jan", "feb", "mrt", "apr", "mei", "jun", "jul", "aug", "sep", "okt", "nov", "dec"},
    "d-M-yyyy"};

// The locale is a Windows locale identifier; its primary language picks the names. Any
// other language formats as the PC's user default, English.
const LocaleNames& NamesForLocale(int locale) {
  switch (locale & 0x3FF) {
    case 0x07:
      return kGerman;
    case 0x0A:
      return kSpanish;
    case 0x0C:
      return kFrench;
    case 0x10:
      return kItalian;
    case 0x13:
      return kDutch;
    default:
      return kEnglish;
  }
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b) {
  const std::int64_t q = a / b;
  return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// The calendar's date and time of `seconds` counted from 1970-01-01 00:00:00 (proleptic
// Gregorian calendar).
LocalTime BreakDown(std::int64_t seconds) {
  const chrono::sys_seconds when{chrono::seconds{seconds}};
  const chrono::sys_days day = chrono::floor<chrono::days>(when);
  const chrono::year_month_day date{day};
  const chrono::hh_mm_ss<chrono::seconds> time{when - day};
  LocalTime t;
  t.year = static_cast<int>(date.year());
  t.month = static_cast<int>(static_cast<unsigned>(date.month()));
  t.day = static_cast<int>(static_cast<unsigned>(date.day()));
  t.day_of_week = static_cast<int>(chrono::weekday{day}.c_encoding());
  t.hour = static_cast<int>(time.hours().count());
  t.minute = static_cast<int>(time.minutes().count());
  t.second = static_cast<int>(time.seconds().count());
  return t;
}

// Years the system's date functions accept (the range of its date structure).
constexpr int kFirstYear = 1601;
constexpr int kLastYear = 30827;
constexpr std::int64_t SecondsOfDate(int year, unsigned month, unsigned day) {
  return chrono::sys_seconds{chrono::sys_days{chrono::year{year} / month / day}}
      .time_since_epoch()
      .count();
}
constexpr std::int64_t kFirstSecond = SecondsOfDate(kFirstYear, 1, 1);
constexpr std::int64_t kLastSecond = SecondsOfDate(kLastYear + 1, 1, 1) - 1;
static_assert(kFirstSecond == -11644473600);

// The date as the calendar's type, when it is a date within the system's range.
std::optional<chrono::year_month_day> ValidDate(const LocalTime& date) {
  if (date.year < kFirstYear || date.year > kLastYear) return std::nullopt;
  if (date.month < 1 || date.month > 12 || date.day < 1 || date.day > 31) return std::nullopt;
  const chrono::year_month_day ymd{chrono::year{date.year},
                                   chrono::month{static_cast<unsigned>(date.month)},
                                   chrono::day{static_cast<unsigned>(date.day)}};
  if (!ymd.ok()) return std::nullopt;
  return ymd;
}

std::string Number(int value, int min_digits) {
  std::string text = std::to_string(value);
  while (static_cast<int>(text.size()) < min_digits) text.insert(text.begin(), '0');
  return text;
}

// Expands a date picture: d, dd, ddd, dddd, M, MM, MMM, MMMM, y, yy, yyyy, and '...' quoted
// literals where two quotes stand for one quote. Every other character is copied.
std::string ExpandPicture(const LocaleNames& names, const LocalTime& date, int weekday,
                          const char* picture) {
  std::string out;
  bool quoted = false;
  for (const char* p = picture; *p != '\0';) {
    const char c = *p;
    if (c == '\'') {
      if (p[1] == '\'') {
        out += '\'';
        p += 2;
      } else {
        quoted = !quoted;
        ++p;
      }
      continue;
    }
    if (quoted || (c != 'd' && c != 'M' && c != 'y')) {
      out += c;
      ++p;
      continue;
    }
    int count = 0;
    while (p[count] == c) ++count;
    p += count;
    if (c == 'd') {
      if (count == 1) out += std::to_string(date.day);
      if (count == 2) out += Number(date.day, 2);
      if (count == 3) out += names.short_days[weekday];
      if (count >= 4) out += names.days[weekday];
    } else if (c == 'M') {
      if (count == 1) out += std::to_string(date.month);
      if (count == 2) out += Number(date.month, 2);
      if (count == 3) out += names.short_months[date.month - 1];
      if (count >= 4) out += names.months[date.month - 1];
    } else {
      if (count == 1) out += std::to_string(date.year % 100);
      if (count == 2) out += Number(date.year % 100, 2);
      if (count >= 3) out += std::to_string(date.year);
    }
  }
  return out;
}

}  // namespace

SimClock::SimClock(EventLoop& loop, SimWorld& world) : loop_(loop), world_(world) {}

std::int64_t SimClock::LocalSecondsNow() const {
  return world_.pc.local_seconds + FloorDiv(loop_.now_ms() - epoch_ms_, 1000);
}

void SimClock::ResetEpoch() {
  epoch_ms_ = loop_.now_ms();
}

std::int64_t SimClock::Time() {
  return LocalSecondsNow() + static_cast<std::int64_t>(world_.pc.bias_minutes) * 60 -
         (world_.pc.daylight ? 3600 : 0);
}

LocalTime SimClock::GetLocalTime() {
  return BreakDown(LocalSecondsNow());
}

bool SimClock::LocalTimeOf(std::int64_t utc_seconds, LocalTime* out) {
  if (out == nullptr) return false;
  // The bias is minutes of an int: the sum stays far inside 64 bits for any time in range.
  if (utc_seconds < kFirstSecond - 86400 * 366 || utc_seconds > kLastSecond + 86400 * 366) {
    return false;
  }
  const std::int64_t local = utc_seconds - static_cast<std::int64_t>(world_.pc.bias_minutes) * 60 +
                             (world_.pc.daylight ? 3600 : 0);
  if (local < kFirstSecond || local > kLastSecond) return false;
  *out = BreakDown(local);
  return true;
}

TimeZoneInfo SimClock::GetTimeZoneInformation() {
  return TimeZoneInfo{world_.pc.bias_minutes, world_.pc.daylight};
}

int SimClock::GetDateFormat(int locale, DWORD, const LocalTime* date, const char* picture,
                            char* out, int out_size) {
  const LocalTime when = date != nullptr ? *date : GetLocalTime();
  const std::optional<chrono::year_month_day> valid = ValidDate(when);
  if (!valid || out_size < 0) return 0;
  const LocaleNames& names = NamesForLocale(locale);
  // The day of the week follows from the date; the caller's field is not trusted.
  const int weekday = static_cast<int>(chrono::weekday{chrono::sys_days{*valid}}.c_encoding());
  const std::string text =
      ExpandPicture(names, when, weekday, picture != nullptr ? picture : names.short_date);
  const int needed = static_cast<int>(text.size()) + 1;
  // A size of 0 asks for the size needed; a buffer too small receives nothing.
  if (out_size == 0) return needed;
  if (out == nullptr || needed > out_size) return 0;
  text.copy(out, text.size());
  out[text.size()] = '\0';
  return needed;
}

}  // namespace mivo::sim
