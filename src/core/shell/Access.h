#pragma once

#include <QString>

class Workspace;

inline constexpr const char16_t* kNoReport = u"NEHLASIT";
inline constexpr const char16_t* kThisOperation = u"tuto ";
// A permission text that contains this enters the service mode when stored
// through the settings window; no ordinary permission text contains it.
inline constexpr const char16_t* kServiceMarker = u"#SERVIS#";
inline constexpr const char16_t* kReadOnlyPermission = u"1_000";
inline constexpr const char16_t* kServicePermission = u"5_000";
inline constexpr const char16_t* kMasterPassword = u"qezub";
// The passwords of a user record that does not exist yet.
inline constexpr const char16_t* kDefaultPassword = u"orva";
inline constexpr const char16_t* kDefaultAdminPassword = u"orva-admin";

// The stored form of a password: reversible obfuscation (hex digits, so the
// text never holds "/" or "="), not protection.
QString ScramblePassword(const QString& plain);
QString UnscramblePassword(const QString& stored);

// Takes name, passwords and permission text from config.UserRecord, or the
// default record when there is none.
void ReadUserRecord(Workspace& ws);
// Puts the user record back into config.UserRecord, passwords scrambled.
void StoreUserRecord(Workspace& ws);

// Whether the signed-in user may run a data-changing operation of the level on
// the current project. A refusal is reported unless the operation is "NEHLASIT";
// an allowed "tuto " operation asks for confirmation when the warning is on.
bool CheckPermission(Workspace& ws, const QString& operation, int level);
