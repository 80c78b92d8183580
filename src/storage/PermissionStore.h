#pragma once

#include <QObject>
#include <QString>
#include <QStringList>

#include <optional>
#include <vector>

// What the user decided a site may do without being asked again: table Permissoes (origem,
// recurso, decisao, quando) of QV_Config.mdb at ConfigDbPath, made when it is missing. Every
// statement on that table lives here; the configuration record is never touched.
//
// A file that cannot be read or written, or a table of another shape, is an error naming the
// file: a decision that cannot be read is never taken as "allowed".
namespace PermissionStore {

enum class Decision { Allow, Deny };

// The kinds of request a decision is about (the table's recurso).
inline constexpr char16_t kDownloads[] = u"downloads";
inline constexpr char16_t kThirdPartyCookies[] = u"cookies de terceiros";

// The decision stored for `origin` (scheme, host and port, as QUrl's adjusted origin gives it)
// on `kind`; nothing when none is stored. A stored value that is neither decision is an error.
std::optional<Decision> decision(const QString& origin, const QString& kind);

// The origins allowed `kind`, in no particular order.
QStringList allowedOrigins(const QString& kind);

// Stores the decision of `origin` on `kind` with the time it is taken, in place of an older one.
void remember(const QString& origin, const QString& kind, Decision decision);

// One stored decision, as the decisions window lists it.
struct Entry {
    QString origin;
    QString kind;
    Decision decision;
    qint64 when; // Unix seconds
};

// Every stored decision, newest first (then by origin and kind). A stored value that is neither
// decision is an error naming the file, as for decision().
std::vector<Entry> decisions();

// Whether any decision is stored, whatever its value.
bool hasDecisions();

// Forgets the decision of `origin` on `kind`, so that the site is asked again; false when none
// was stored. Announced through Notifier.
bool forget(const QString& origin, const QString& kind);

// Forgets every decision, a damaged one too; the number forgotten. Announced through Notifier (an
// empty origin and kind) when there was any.
int forgetAll();

// Tells whoever holds what a decision gave (a camera, a microphone) that it is gone: emitted on
// the thread that forgot, after the change is on disk.
class Notifier : public QObject {
    Q_OBJECT
public:
    static Notifier& instance();

Q_SIGNALS:
    // An empty origin means every decision of every site.
    void forgotten(const QString& origin, const QString& kind);

private:
    Notifier() = default;
};

// The kinds a page asks for itself (the table's recurso), each asked about once per origin.
inline constexpr char16_t kNotifications[] = u"notificações";
inline constexpr char16_t kCamera[] = u"câmera";
inline constexpr char16_t kMicrophone[] = u"microfone";
inline constexpr char16_t kCameraAndMicrophone[] = u"câmera e microfone";
inline constexpr char16_t kScreen[] = u"tela";
inline constexpr char16_t kLocation[] = u"localização";
inline constexpr char16_t kPointer[] = u"ponteiro";

} // namespace PermissionStore
