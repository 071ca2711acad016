#include "Access.h"

#include <algorithm>

#include "../Prompter.h"
#include "../Workspace.h"
#include "../data/Cells.h"
#include "Config.h"

namespace {
// Mixed into each character so that a stored password is not readable at a glance.
constexpr char16_t kMask[] = u"ORVA-sledovani";
constexpr int kMaskLength = int(std::size(kMask)) - 1;
}  // namespace

QString ScramblePassword(const QString& plain) {
    QString out;
    for (int i = 0; i < plain.size(); ++i) {
        const ushort code = plain[i].unicode() ^ (kMask[i % kMaskLength] + i);
        out += QStringLiteral("%1").arg(code, 4, 16, QLatin1Char('0')).toUpper();
    }
    return out;
}

QString UnscramblePassword(const QString& stored) {
    QString out;
    for (int i = 0; i + 4 <= stored.size(); i += 4) {
        bool ok = false;
        const ushort code = stored.mid(i, 4).toUShort(&ok, 16);
        if (!ok) return QString();
        const int n = i / 4;
        out += QChar(ushort(code ^ (kMask[n % kMaskLength] + n)));
    }
    return out;
}

QString UserNameProblem(const QString& name) {
    const QString trimmed = name.trimmed();
    if (trimmed.isEmpty()) return QStringLiteral("Jméno uživatele nesmí být prázdné.");
    if (trimmed.contains(u'/'))
        return QStringLiteral(
            "Jméno uživatele nesmí obsahovat znak \"/\" (odděluje části "
            "záznamu uživatele).");
    if (trimmed == QStringView(kSlotFree))
        return QStringLiteral(
            "Jméno uživatele nesmí být \"Volný\": tak se označuje volné "
            "připojení a další stanice by se připojily také.");
    return QString();
}

QString PermissionProblem(const QString& permission) {
    if (permission.contains(u'/'))
        return QStringLiteral(
            "Oprávnění nesmí obsahovat znak \"/\"; čísla akcí oddělujte "
            "čárkou, např. 3_101,205.");
    return QString();
}

namespace {
// The stored form of a password: hex digits, four per character.
bool IsStoredPassword(const QString& stored) {
    if (stored.size() % 4 != 0) return false;
    return std::all_of(stored.cbegin(), stored.cend(), [](QChar c) {
        return (c >= u'0' && c <= u'9') || (c >= u'A' && c <= u'F') || (c >= u'a' && c <= u'f');
    });
}
}  // namespace

void ReadUserRecord(Workspace& ws) {
    AccessState& a = ws.Access;
    if (a.WorkstationId.isEmpty()) a.WorkstationId = WorkstationIdentifier();
    const QString& record = ws.config.UserRecord;
    const QStringList parts = record.split(u'/');
    // A damaged record (a name with "/" written by an older copy, a hand edit)
    // would give a garbage permission and empty passwords, so that any
    // administrator password would pass: the default record is safer.
    const bool damaged = parts.size() != 4 || !IsStoredPassword(parts[1].trimmed()) ||
                         !IsStoredPassword(parts[3].trimmed());
    if (record.isEmpty() || damaged) {
        a.UserName = QStringLiteral("Jmeno Prijmeni");
        a.Password = QString::fromUtf16(kDefaultPassword);
        a.Permission = QStringLiteral("2_000");
        a.AdminPassword = QString::fromUtf16(kDefaultAdminPassword);
        return;
    }
    const FieldBuffer f = SplitFields(record, 4, u'/');
    a.UserName = f[0];
    a.Password = UnscramblePassword(f[1]);
    a.Permission = f[2];
    a.AdminPassword = UnscramblePassword(f[3]);
}

void StoreUserRecord(Workspace& ws) {
    const AccessState& a = ws.Access;
    ws.config.UserRecord = a.UserName + u'/' + ScramblePassword(a.Password) + u'/' + a.Permission +
                           u'/' + ScramblePassword(a.AdminPassword);
}

bool CheckPermission(Workspace& ws, const QString& operation, int level) {
    const FieldBuffer f = SplitFields(ws.Access.Permission, 2, u'_');
    const int userLevel = ParseInt(f[0]);
    const QString projects = userLevel == 5 ? QStringLiteral("000") : f[1];
    const QString number = ws.CurrentProjectNumber();
    const bool projectAllowed =
        projects == QLatin1String("000") || (!number.isEmpty() && projects.contains(number));
    bool allowed = userLevel >= level && projectAllowed;
    if (!allowed && operation != QStringView(kNoReport)) {
        ws.Ask().Inform(QStringLiteral("Nemáte oprávnění pro ") + operation +
                        QStringLiteral("operaci  - ") + number + QString::fromUtf16(kRefusalHint));
    }
    if (allowed && operation == QStringView(kThisOperation) &&
        ws.config.Flag(kFlagWarnBeforeChange))
        allowed = ws.Ask().AskOkNo(QStringLiteral(" POKRAČOVAT V OPERACI ? "));
    return allowed;
}

AccessChangeResult ChangeAccess(Workspace& ws, const AccessChange& change) {
    AccessChangeResult result;
    AccessState& a = ws.Access;
    const QString master = QString::fromUtf16(kMasterPassword);
    const QString marker = QString::fromUtf16(kServiceMarker);
    const AccessState before = a;
    result.service = a.Permission.contains(marker);
    // A name or permission text that would damage the user record (or make the
    // slot look free) is refused before anything is stored.
    if (change.adminPassword || change.password) {
        QString problem;
        if (change.userName != a.UserName) problem = UserNameProblem(change.userName);
        if (problem.isEmpty() && change.adminPassword && change.permission != a.Permission &&
            !change.permission.contains(marker))
            problem = PermissionProblem(change.permission);
        if (!problem.isEmpty()) {
            result.refused = true;
            result.service = false;
            result.message = problem + QStringLiteral("\r\nNic nebylo změněno.");
            return result;
        }
    }
    if (change.adminPassword) {
        const QString& admin = *change.adminPassword;
        if (admin != a.AdminPassword && admin != master) {
            result.wrongPassword = true;
            result.message = QStringLiteral("Nesprávné heslo Administrátora pro změny oprávnění.");
        } else {
            if (change.newAdminPassword) a.AdminPassword = *change.newAdminPassword;
            if (change.password) a.Password = *change.password;
            if (change.userName != a.UserName) a.UserName = change.userName;
            // The marker asks for the service mode; kept as the permission
            // text it would leave the user at level 0 from the next start.
            if (change.permission.contains(marker))
                result.service = true;
            else if (change.permission != a.Permission)
                a.Permission = change.permission;
            result.logged = true;
        }
    } else if (change.password) {
        // A wrong access password changes nothing, yet the attempt is recorded
        // like a change: audits on other workstations count these records.
        const QString& access = *change.password;
        if (access != a.Password && access != master && access != a.AdminPassword) {
            result.wrongPassword = true;
            result.message = QStringLiteral("Nesprávné heslo pro změnu Jména.");
        } else if (change.userName != a.UserName) {
            a.UserName = change.userName;
        }
        result.logged = true;
    }
    if (a.UserName != before.UserName || a.Password != before.Password ||
        a.Permission != before.Permission || a.AdminPassword != before.AdminPassword) {
        StoreUserRecord(ws);
        result.recordChanged = true;
    }
    return result;
}
