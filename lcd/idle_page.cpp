// The idle page and the contact detail page, and the hour rule they share with the call clock.
#include <cstdint>
#include <cstdio>
#include <cstring>

#include "app/controller_dialog.h"
#include "core/text.h"
#include "lcd/lcd_output.h"

namespace mivo {

namespace {

constexpr int kDateBufferSize = 20;  // day and date texts as the locale formats them
constexpr int kUtf8BufferSize = 64;  // the same texts in UTF-8
constexpr UINT kIdleRefreshMs = 10000;

// Upper-cases a first letter a..z; any other first character stays as it is.
void CapitalizeFirst(char* text) {
  if (text[0] >= 'a' && text[0] <= 'z') text[0] = static_cast<char>(text[0] - 'a' + 'A');
}

// Removes the first "." of the text (abbreviated month names of some languages end in one).
void RemoveFirstDot(char* text) {
  char* dot = std::strchr(text, '.');
  if (dot != nullptr) std::memmove(dot, dot + 1, std::strlen(dot + 1) + 1);
}

}  // namespace

ControllerDialog::HourText ControllerDialog::ApplyHourRule(int language, int hour) {
  if (language != 9) return {hour, ""};
  const char* suffix = hour >= 12 ? "pm" : "am";
  if (hour > 12) hour -= 12;
  if (hour == 0) hour = 12;
  return {hour, suffix};
}

void ControllerDialog::DrawIdle() {
  screen = SCREEN_IDLE;
  const LocalTime now = host_.clock.GetLocalTime();

  // Formats `picture` with the locale of the texts, capitalised, converted to UTF-8.
  const auto locale_text = [&](const char* picture, bool drop_dot, char(&out)[kUtf8BufferSize]) {
    char ansi[kDateBufferSize] = {};
    if (host_.clock.GetDateFormat(language_id, LOCALE_USE_CP_ACP, &now, picture, ansi,
                                  kDateBufferSize) <= 0) {
      ansi[0] = 0;
    }
    ansi[kDateBufferSize - 1] = 0;
    CapitalizeFirst(ansi);
    if (drop_dot) RemoveFirstDot(ansi);
    char16_t wide[kUtf8BufferSize] = {};
    ClearText(out);
    if (host_.system.MultiByteToWideChar(CP_ACP, ansi, wide, kUtf8BufferSize) <= 0) return;
    wide[kUtf8BufferSize - 1] = 0;
    if (host_.system.WideCharToMultiByte(CP_UTF8, wide, out, kUtf8BufferSize) <= 0) {
      ClearText(out);
    }
    out[kUtf8BufferSize - 1] = 0;
  };

  char day[kUtf8BufferSize];
  locale_text("dddd", false, day);
  lcd::TextRow(handset_, 3, lcd::kRowStart, day, ROW_PLAIN, WEIGHT_BOLD);

  char date[kUtf8BufferSize];
  locale_text("MMM'/'dd'/'yyyy", true, date);
  lcd::TextRow(handset_, 2, lcd::kRowStart, date, ROW_PLAIN, WEIGHT_BOLD);

  const HourText hour = ApplyHourRule(language_id, now.hour);
  char time_text[20];
  std::snprintf(time_text, sizeof time_text, "%02d:%02d%s", hour.hour, now.minute, hour.suffix);
  lcd::TextRow(handset_, 1, lcd::kRowStart, time_text, ROW_PLAIN, WEIGHT_BOLD);

  missed_call_count = bridge_.fGetMissedCallCount();
  handset_.fClearRow(0);
  if (missed_call_count != 0) handset_.fSendDisplayLCD_BMP(0, lcd::kMissedIconX, ICON_MISSED_CALL);

  // The volume page stopped the clock's refresh; however the idle page came back, it runs
  // again.
  if (idle_refresh_stopped) {
    idle_refresh_stopped = false;
    host_.window.SetTimer(m_hWnd, TIMER_IDLE_REFRESH, kIdleRefreshMs);
  }
}

void ControllerDialog::DrawContactDetail(const ContactRecord& contact) {
  // The contact's own wall-clock time and GMT offset; empty without a time zone.
  char clock_text[30] = {};
  if (contact.time_zone != 0) {
    const TimeZoneInfo zone = host_.clock.GetTimeZoneInformation();
    const std::int64_t reference =
        host_.clock.Time() + static_cast<std::int64_t>(zone.bias_minutes) * 60;
    const std::int64_t offset = static_cast<std::int64_t>(contact.time_zone) - 86400;
    LocalTime there;
    if (host_.clock.LocalTimeOf(reference + offset, &there)) {
      int hour = there.hour;
      if (zone.daylight) hour = hour == 0 ? 23 : hour - 1;
      const HourText shown = ApplyHourRule(language_id, hour);
      const long long h = offset / 3600;
      const long long r = offset - 3600 * h;
      const long long m = h >= 0 ? r / 60 : -r / 60;
      const int hh = shown.hour;
      const int mm = there.minute;
      if (h >= 0 && m > 0) {
        std::snprintf(clock_text, sizeof clock_text, "%02d:%02d%s(GMT+%lld:%lld)", hh, mm,
                      shown.suffix, h, m);
      } else if (h >= 0) {
        std::snprintf(clock_text, sizeof clock_text, "%02d:%02d%s(GMT+%lld)", hh, mm, shown.suffix,
                      h);
      } else if (m > 0) {
        std::snprintf(clock_text, sizeof clock_text, "%02d:%02d%s(GMT%lld:%lld)", hh, mm,
                      shown.suffix, h, m);
      } else {
        std::snprintf(clock_text, sizeof clock_text, "%02d:%02d%s(GMT%lld)", hh, mm, shown.suffix,
                      h);
      }
    }
  }

  screen = SCREEN_CONTACT_DETAIL;

  handset_.fClearRow(3);
  lcd::TextRow(handset_, 3, lcd::kBesideIcon, lcd::Field(contact.name), ROW_PLAIN, WEIGHT_NORMAL);
  handset_.fSendDisplayLCD_BMP(3, lcd::kRowStart, lcd::StatusIcon(contact.status));

  lcd::TextRow(handset_, 2, lcd::kRowStart, lcd::Field(contact.profile2), ROW_PLAIN, WEIGHT_NORMAL);

  // Profile texts 3 and 1, with a comma only when both are present.
  const std::string third = lcd::Field(contact.profile3);
  const std::string first = lcd::Field(contact.profile1);
  char profile_line[64];
  std::snprintf(profile_line, sizeof profile_line,
                !third.empty() && !first.empty() ? "%s,%s" : "%s%s", third.c_str(), first.c_str());
  lcd::TextRow(handset_, 1, lcd::kRowStart, profile_line, ROW_PLAIN, WEIGHT_NORMAL);

  lcd::TextRow(handset_, 0, lcd::kRowStart, clock_text, ROW_PLAIN, WEIGHT_NORMAL);
}

}  // namespace mivo
