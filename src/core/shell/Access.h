#pragma once

#include <QString>
#include <optional>

class Workspace;

inline constexpr const char16_t* kNoReport = u"NEHLASIT";
inline constexpr const char16_t* kThisOperation = u"tuto ";
// A permission text that contains this enters the service mode when stored
// through the settings window; no ordinary permission text contains it.
inline constexpr const char16_t* kServiceMarker = u"#SERVIS#";
inline constexpr const char16_t* kReadOnlyPermission = u"1_000";
inline constexpr const char16_t* kServicePermission = u"5_000";
inline constexpr const char16_t* kMasterPassword = u"qezub";
// Added to every refusal: where a permission comes from.
inline constexpr const char16_t* kRefusalHint =
    u"\r\n\r\nO oprávnění požádejte správce (administrátora) programu: nastaví jej v "
    u"\"Nastavení\" → \"Oprávnění\".";
// The passwords of a user record that does not exist yet.
inline constexpr const char16_t* kDefaultPassword = u"orva";
inline constexpr const char16_t* kDefaultAdminPassword = u"orva-admin";

// The stored form of a password: reversible obfuscation (hex digits, so the
// text never holds "/" or "="), not protection.
QString ScramblePassword(const QString& plain);
QString UnscramblePassword(const QString& stored);

// Why a user name or permission text cannot go into the user record, or an
// empty text when it can: "/" separates the record's fields, and the name is
// written as the slot holder, where "Volný" means a free slot.
QString UserNameProblem(const QString& name);
QString PermissionProblem(const QString& permission);

// Takes name, passwords and permission text from config.UserRecord, or the
// default record when there is none or it is damaged (not four fields, a
// password not in its stored form).
void ReadUserRecord(Workspace& ws);
// Puts the user record back into config.UserRecord, passwords scrambled.
void StoreUserRecord(Workspace& ws);

// Whether the signed-in user may run a data-changing operation of the level on
// the current project. A refusal is reported unless the operation is "NEHLASIT";
// an allowed "tuto " operation asks for confirmation when the warning is on.
bool CheckPermission(Workspace& ws, const QString& operation, int level);

// What the settings window collected for a change of the user record. A
// password field the user left untouched is empty (std::nullopt).
struct AccessChange {
    QString userName;
    QString permission;
    std::optional<QString> adminPassword;  // authorises name, password and permission changes
    std::optional<QString> newAdminPassword;
    std::optional<QString>
        password;  // the new access password, or the one that authorises a name change
};

// What ChangeAccess did, for the window to show.
struct AccessChangeResult {
    // A refusal or a wrong password, to be shown; empty when none.
    QString message;
    // A name or permission text the user record cannot hold: nothing changed
    // and nothing is recorded, so that the window stays open for a correction.
    bool refused = false;
    bool wrongPassword = false;  // the password fields start again
    bool recordChanged = false;  // the user record was changed and stored
    bool logged = false;         // the attempt belongs in the change log
    bool service = false;        // the service mode was asked for
};

// Applies a change of name, passwords or permission text to the signed-in
// user's record. The administrator's password (or the master password)
// authorises every change; the access password only a change of the name. A
// wrong password changes nothing, yet the attempt is still recorded. A
// permission text with the service marker asks for the service mode instead of
// being stored.
AccessChangeResult ChangeAccess(Workspace& ws, const AccessChange& change);
