#pragma once

// A Last-Modified value read as text, in any of the three forms HTTP
// allows: "Sun, 06 Nov 1994 08:49:37 GMT" (RFC 1123), "Sunday, 06-Nov-94
// 08:49:37 GMT" (RFC 850) and "Sun Nov  6 08:49:37 1994" (asctime).
// Pure byte logic. Names of days and months match in any letter case.
struct HttpDate {
    int year;
    int month;   // 1 to 12
    int day;     // 1 to 31
    // The exact RFC 1123 layout with a year from 1970 to 2999: the only
    // values that Wine 8's HttpQueryInfo can turn into a SYSTEMTIME without
    // crashing (it reads fixed positions and dereferences a failed gmtime).
    bool platformSafe;
};

bool ParseHttpDate(const char* text, HttpDate* date);
