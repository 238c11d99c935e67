#pragma once
// The clock on the wall where the surveyor works: the date on the sheets, the date and time a
// LandXML document was made.

namespace qorvel::platform {

struct LocalTime {
    int year = 1970;
    int month = 1;  // 1 to 12
    int day = 1;    // 1 to 31
    int hour = 0;
    int minute = 0;
    int second = 0;
};

LocalTime LocalTimeNow();

}  // namespace qorvel::platform
