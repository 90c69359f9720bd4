#pragma once
// A serial device that the user may not open is, on Linux, usually one of a group
// (often "dialout") the user is not in. The message of a failed open then says
// which group to join, after the system's own text.

#include <QString>

// The device file of a port name: the name itself when it is a path, else /dev/NAME.
QString DeviceFilePath(const QString &portName);
// `systemMessage` followed by ": add your user to the group 'G' (then log in again)",
// G being the group of the device file `devicePath` as the system reports it. When
// the group is unknown or the administrators' own ("root"), the hint says the
// device is not open to the user instead. Used only for a permission failure.
QString WithDeviceGroupHint(const QString &systemMessage, const QString &devicePath);
// The message of a failed open of `portName`: on Linux, and when the failure was a
// missing permission, with the group hint; otherwise `systemMessage` unchanged.
QString SerialOpenFailureText(const QString &systemMessage, const QString &portName, bool permissionDenied);
// What to add to "Could not connect" after opening `portName` failed: on Linux,
// when the device file exists but the user may not read and write it, " " and
// the system's text for a denied permission with the group hint; else nothing.
QString DeviceAccessHint(const QString &portName);
