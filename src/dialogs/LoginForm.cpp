#include "dialogs/LoginForm.h"

#include "core/DisplayText.h"
#include "core/ErrorReporter.h"
#include "forms/Controls.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"

#include <QEventLoop>
#include <QFontMetrics>
#include <QLineEdit>
#include <QPointer>
#include <QShortcut>
#include <QTimer>
#include <QWindow>

#include <utility>
#include <vector>

namespace {
// Pixels kept free at the end of a line, so that the word wrap never breaks a fitted line.
constexpr int kSlack = 4;

struct Waiting {
    bool active = false;
    std::vector<std::pair<QPointer<QObject>, std::function<void()>>> after;
};

Waiting& waitingLogin()
{
    static Waiting w;
    return w;
}

// The keys a login takes over from the window it stands over: with Ctrl or Alt, or a function
// key. Letters, Enter, Escape, Tab and the arrows stay the login's own.
bool takesOver(const QKeySequence& key)
{
    if (key.isEmpty())
        return false;
    const QKeyCombination k = key[0];
    return (k.keyboardModifiers() & (Qt::ControlModifier | Qt::AltModifier)) ||
           (k.key() >= Qt::Key_F1 && k.key() <= Qt::Key_F35);
}

// The actions that ended the wait run after it, from the event loop the engine's call returns to.
void runAfterWait()
{
    for (auto& [context, action] : std::exchange(waitingLogin().after, {})) {
        if (context)
            QTimer::singleShot(0, context, [action] { ErrorReporter::guard(action); });
    }
}

// A login waits from its show until its answer has returned, however that ends.
struct WaitScope {
    WaitScope() { waitingLogin().active = true; }
    ~WaitScope()
    {
        waitingLogin().active = false;
        runAfterWait();
    }
    WaitScope(const WaitScope&) = delete;
    WaitScope& operator=(const WaitScope&) = delete;
};
} // namespace

LoginForm::LoginForm()
    : AnswerForm(layout::LoginFormLayout)
    , lblMensagem(control<QLabel>("lblMensagem"))
    , txtUsuario(control<QLineEdit>("txtUsuario"))
    , txtSenha(control<QLineEdit>("txtSenha"))
{
    txtSenha->setEchoMode(QLineEdit::Password);
    // The host and the realm come from the network: never read as markup.
    lblMensagem->setTextFormat(Qt::PlainText);
    connectButtons(control<LabelControl>("btnOK"), control<LabelControl>("btnCancel"));
}

std::optional<LoginForm::Credentials> LoginForm::ask(const Asker& asker, QWidget* keysOf)
{
    std::optional<Credentials> answer;
    if (waiting() || Forms::ifLoaded<LoginForm>())
        return answer;
    LoginForm& form = Forms::get<LoginForm>();
    form.m_answer = &answer;
    form.showAsker(asker);
    form.takeKeysOf(keysOf);
    form.txtUsuario->setFocus();
    QEventLoop loop;
    bool ended = false;
    connect(&form, &BaseForm::unloaded, &loop, [&] {
        ended = true;
        loop.quit();
    });
    const WaitScope wait;
    form.Show();
    if (!ended)
        loop.exec(QEventLoop::DialogExec);
    return answer;
}

bool LoginForm::waiting() { return waitingLogin().active; }

void LoginForm::endThen(QObject* context, const std::function<void()>& action)
{
    if (!waiting())
        return action();
    waitingLogin().after.emplace_back(context, action);
    if (LoginForm* form = Forms::ifLoaded<LoginForm>())
        form->rejectAnswer();
}

QString LoginForm::fitHost(const QString& host, const QString& site, const QFontMetrics& metrics,
                           int width)
{
    if (metrics.horizontalAdvance(host) <= width)
        return host;
    if (!site.isEmpty() && site.size() < host.size() && host.endsWith(site, Qt::CaseInsensitive)) {
        const QString head = host.left(host.size() - site.size());
        const QString cut =
            metrics.elidedText(head, Qt::ElideRight, width - metrics.horizontalAdvance(site));
        if (!cut.isEmpty() && metrics.horizontalAdvance(cut + site) <= width)
            return cut + site;
    }
    return metrics.elidedText(host, site.isEmpty() ? Qt::ElideMiddle : Qt::ElideLeft, width);
}

// "HOST pede login" on the first line, whatever the host's length, and the realm on the second.
void LoginForm::showAsker(const Asker& asker)
{
    const QString lead = asker.proxy ? QStringLiteral("O proxy ") : QString();
    const QString tail = QStringLiteral(" pede login");
    const QFontMetrics metrics = lblMensagem->fontMetrics();
    const int width = lblMensagem->width() - kSlack;
    const QString host = fitHost(DisplayText::oneLine(asker.host), DisplayText::oneLine(asker.site),
                                 metrics, width - metrics.horizontalAdvance(lead + tail));
    const QString realm =
        metrics.elidedText(DisplayText::oneLine(asker.realm), Qt::ElideRight, width);
    lblMensagem->setText(lead + host + tail + u'\n' + realm);
}

// Each key is the window's own, pressed there once the login has ended.
void LoginForm::takeKeysOf(QWidget* window)
{
    if (!window)
        return;
    for (QShortcut* key : window->findChildren<QShortcut*>(Qt::FindDirectChildrenOnly)) {
        if (!key->isEnabled() || !takesOver(key->key()))
            continue;
        QPointer<QShortcut> original(key);
        connectHandler(new QShortcut(key->key(), this), &QShortcut::activated, this,
                       [original](LoginForm*) {
                           endThen(original, [original] {
                               if (original)
                                   Q_EMIT original->activated();
                           });
                       });
    }
    // The login stays above that window while the user works there.
    winId();
    if (QWindow* own = windowHandle())
        own->setTransientParent(window->window()->windowHandle());
}

void LoginForm::acceptAnswer()
{
    if (m_answer)
        *m_answer = Credentials{txtUsuario->text(), txtSenha->text()};
    m_answer = nullptr;
    rejectAnswer();
}
