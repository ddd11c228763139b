#include "runtime/pictures/date_time_win32.h"

#include <windows.h>

#include "runtime/pictures/date_time.h"

namespace dove::datetime {
namespace {

LocalTime Win32LocalTime() {
    SYSTEMTIME st;
    GetLocalTime(&st);
    LocalTime t;
    t.year = st.wYear;
    t.month = st.wMonth;
    t.day = st.wDay;
    t.hour = st.wHour;
    t.minute = st.wMinute;
    t.second = st.wSecond;
    t.millisecond = st.wMilliseconds;
    return t;
}

}  // namespace

void InstallWin32Clock() { SetClockSource(&Win32LocalTime); }

}  // namespace dove::datetime
