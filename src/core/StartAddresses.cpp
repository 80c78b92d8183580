#include "core/StartAddresses.h"

#include "core/DisplayText.h"
#include "core/TypedText.h"
#include "core/UrlTools.h"

#include <QDir>
#include <QFileInfo>
#include <QUrl>

#include <optional>
#include <utility>

namespace {

enum class Refusal { None, Empty, Option, TooLong, Control, Script, Internal, NotAnAddress };

// A notice names this many refused arguments, each cut to this length; "e mais N" says the rest.
constexpr qsizetype kNamedRefusals = 5;
constexpr qsizetype kNameLength = 60;

QString reasonOf(Refusal refusal)
{
    switch (refusal) {
    case Refusal::None:
        break;
    case Refusal::Empty:
        return QStringLiteral("vazio");
    case Refusal::Option:
        return QStringLiteral("opção desconhecida");
    case Refusal::TooLong:
        return QStringLiteral("mais de %1 caracteres").arg(kMaxAddressLength);
    case Refusal::Control:
        return QStringLiteral("caracteres de controle");
    case Refusal::Script:
        return QStringLiteral("javascript: não é aberto");
    case Refusal::Internal:
        return QStringLiteral("endereço interno do navegador");
    case Refusal::NotAnAddress:
        return QStringLiteral("nem endereço nem arquivo");
    }
    return {};
}

struct Verdict {
    Refusal refusal = Refusal::None;
    QString address;
};

enum class Files { Look, Ignore };

bool hasControl(const QString& text)
{
    for (const QChar c : text) {
        if (c.category() == QChar::Other_Control)
            return true;
    }
    return false;
}

Verdict withinLength(const QString& address)
{
    if (address.size() > kMaxAddressLength)
        return {Refusal::TooLong, {}};
    return {Refusal::None, address};
}

// An existing file or folder (not a device or a pipe, which would never end loading).
std::optional<QString> fileAddress(const QString& argument, const QString& workingDir)
{
    const QFileInfo file(QDir(workingDir), argument);
    if (!file.isFile() && !file.isDir())
        return std::nullopt;
    return QUrl::fromLocalFile(QDir::cleanPath(file.absoluteFilePath()))
        .toString(QUrl::FullyEncoded);
}

Verdict check(const QString& argument, const QString& workingDir, Files files)
{
    if (argument.trimmed().isEmpty())
        return {Refusal::Empty, {}};
    if (argument.size() > kMaxAddressLength)
        return {Refusal::TooLong, {}};
    if (hasControl(argument))
        return {Refusal::Control, {}};
    if (argument.startsWith(u'-'))
        return {Refusal::Option, {}};
    if (files == Files::Look) {
        if (const auto file = fileAddress(argument, workingDir))
            return withinLength(*file);
    }
    // The search template is never used: a search is no address.
    const TypedText::Result typed = TypedText::classify(argument, QStringLiteral("%s"));
    switch (typed.kind) {
    case TypedText::Kind::Address:
        return withinLength(typed.url);
    case TypedText::Kind::Refused:
        return {Refusal::Script, {}};
    case TypedText::Kind::Internal:
        return {Refusal::Internal, {}};
    case TypedText::Kind::Empty:
        return {Refusal::Empty, {}};
    case TypedText::Kind::Search:
        break;
    }
    return {Refusal::NotAnAddress, {}};
}

QString refusedNotice(const QList<std::pair<QString, Refusal>>& refused)
{
    QStringList named;
    for (qsizetype i = 0; i < refused.size() && i < kNamedRefusals; ++i)
        named << QStringLiteral("\"%1\" (%2)")
                     .arg(DisplayText::shortened(refused[i].first, kNameLength),
                          reasonOf(refused[i].second));
    if (refused.size() == 1)
        return QStringLiteral("Endereço recusado: %1.").arg(named.front());
    QString notice = QStringLiteral("%1 endereços recusados: %2")
                         .arg(QString::number(refused.size()), named.join(QStringLiteral(", ")));
    if (refused.size() > kNamedRefusals)
        notice += QStringLiteral(" e mais %1").arg(refused.size() - kNamedRefusals);
    return notice + u'.';
}

StartAddresses::Result take(const QStringList& arguments, const QString& workingDir, Files files)
{
    StartAddresses::Result result;
    QList<std::pair<QString, Refusal>> refused;
    qsizetype next = 0;
    for (; next < arguments.size() && result.addresses.size() < StartAddresses::kMaxAddresses;
         ++next) {
        const Verdict v = check(arguments[next], workingDir, files);
        if (v.refusal == Refusal::None)
            result.addresses << v.address;
        else
            refused.append({arguments[next], v.refusal});
    }
    if (!refused.isEmpty())
        result.notices << refusedNotice(refused);
    if (const qsizetype left = arguments.size() - next; left > 0)
        result.notices << QStringLiteral("Só %1 endereços são abertos de uma vez; %2 ficaram de "
                                         "fora.")
                              .arg(StartAddresses::kMaxAddresses)
                              .arg(left);
    return result;
}

} // namespace

StartAddresses::Result StartAddresses::fromArguments(const QStringList& arguments,
                                                     const QString& workingDir)
{
    return take(arguments, workingDir, Files::Look);
}

StartAddresses::Result StartAddresses::fromHandedOver(const QStringList& addresses,
                                                      const QStringList& notices)
{
    Result result;
    for (qsizetype i = 0; i < notices.size() && i < kMaxNotices; ++i)
        result.notices << DisplayText::shortened(notices[i], kMaxNoticeLength);
    const Result checked = take(addresses, QString(), Files::Ignore);
    result.addresses = checked.addresses;
    result.notices << checked.notices;
    return result;
}
