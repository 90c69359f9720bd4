#pragma once
// What a serial read or write returns, for every port of the system (the radio
// stick's and the firmware updater's): the numbers are the ones the port layer
// has always used, so callers may store or compare them.

constexpr int kComDone = 1;    // done
constexpr int kComError = 2;   // error, or the port is closed
constexpr int kComTimeout = 4; // a read time-out without data
