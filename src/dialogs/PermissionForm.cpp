#include "dialogs/PermissionForm.h"

#include "core/DisplayText.h"
#include "dialogs/LoginForm.h"
#include "forms/Controls.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"
#include "storage/PermissionStore.h"

#include <QFontMetrics>

#include <utility>

namespace {
// Pixels kept free at the end of a line, so that the word wrap never breaks a fitted line.
constexpr int kSlack = 4;

// What a site wants, after its host.
QString wantText(const QString& kind)
{
    using namespace PermissionStore;
    if (kind == QStringView(kNotifications))
        return QStringLiteral("quer mostrar notificações.");
    if (kind == QStringView(kCamera))
        return QStringLiteral("quer usar a sua câmera.");
    if (kind == QStringView(kMicrophone))
        return QStringLiteral("quer usar o seu microfone.");
    if (kind == QStringView(kCameraAndMicrophone))
        return QStringLiteral("quer usar a sua câmera e o seu microfone.");
    if (kind == QStringView(kScreen))
        return QStringLiteral("quer compartilhar a sua tela ou uma janela.");
    if (kind == QStringView(kLocation))
        return QStringLiteral("quer saber a sua localização.");
    if (kind == QStringView(kPointer))
        return QStringLiteral("quer prender o ponteiro do mouse.");
    return QStringLiteral("quer usar: %1.").arg(kind);
}
} // namespace

PermissionForm::PermissionForm()
    : AnswerForm(layout::PermissionFormLayout)
    , lblMensagem(control<QLabel>("lblMensagem"))
{
    // The host comes from the page: never read as markup.
    lblMensagem->setTextFormat(Qt::PlainText);
    connectButtons(control<LabelControl>("btnAllow"), control<LabelControl>("btnBlock"));
    connect(this, &BaseForm::unloaded, this, &PermissionForm::refused);
}

QString PermissionForm::question(const QString& host, const QString& kind)
{
    return host + u' ' + wantText(kind);
}

void PermissionForm::ask(const QString& host, const QString& site, const QString& kind,
                         Answered answered)
{
    if (Forms::ifLoaded<PermissionForm>())
        return;
    PermissionForm& form = Forms::get<PermissionForm>();
    form.m_answered = std::move(answered);
    // The host fills at most its own line, its site showing whole; the rest wraps below it.
    const QFontMetrics metrics = form.lblMensagem->fontMetrics();
    const int width = form.lblMensagem->width() - kSlack;
    const QString shown =
        LoginForm::fitHost(DisplayText::oneLine(host), DisplayText::oneLine(site), metrics, width);
    form.lblMensagem->setText(question(shown, kind));
    form.Show();
}

void PermissionForm::withdraw()
{
    if (PermissionForm* form = Forms::ifLoaded<PermissionForm>()) {
        form->m_answered = nullptr;
        form->rejectAnswer();
    }
}

void PermissionForm::acceptAnswer()
{
    Answered answered = std::exchange(m_answered, nullptr);
    rejectAnswer();
    if (answered)
        answered(true);
}

void PermissionForm::refused()
{
    if (Answered answered = std::exchange(m_answered, nullptr))
        answered(false);
}
