#include "navigation/GotoForm.h"

#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/TypedText.h"
#include "core/UrlTools.h"
#include "dialogs/Form5_Msg.h"
#include "forms/BrowserControl.h"
#include "forms/Forms.h"
#include "forms/MainWindow.h"
#include "layouts/Layouts.h"
#include "navigation/SuggestionList.h"
#include "storage/ConfigStore.h"
#include "storage/Suggestions.h"

#include <QCoreApplication>
#include <QLineEdit>
#include <QShortcut>
#include <QThread>

namespace {
// Where the list stands, in twips: under the text box, to the window's bottom margin.
constexpr int kListLeft = 180;
constexpr int kListTop = 870;
constexpr int kListWidth = 3990;
} // namespace

GotoForm::GotoForm()
    : AnswerForm(layout::GotoFormLayout)
    , txtEndereco(control<QLineEdit>("txtEndereco"))
    , lstSugestoes(new SuggestionList(this))
{
    setControlLeft(lstSugestoes, kListLeft);
    setControlTop(lstSugestoes, kListTop);
    setControlWidth(lstSugestoes, kListWidth);
    lstSugestoes->setFixedHeight(int(SuggestionQuery::kMax) * SuggestionList::kRowHeight);
    connect(txtEndereco, &QLineEdit::textChanged, this, &GotoForm::suggest);
    connect(lstSugestoes, &SuggestionList::picked, this,
            [this](int row) { ErrorReporter::guard([&] { pick(row); }); });
    connect(windowKey(Qt::Key_Down), &QShortcut::activated, lstSugestoes,
            [this] { lstSugestoes->step(1); });
    connect(windowKey(Qt::Key_Up), &QShortcut::activated, lstSugestoes,
            [this] { lstSugestoes->step(-1); });
}

GotoForm::~GotoForm() = default;

GotoForm& GotoForm::open()
{
    GotoForm& form = Forms::get<GotoForm>();
    form.Show();
    form.txtEndereco->setFocus();
    form.txtEndereco->selectAll();
    return form;
}

void GotoForm::Form_Load()
{
    AnswerForm::Form_Load();
    loadSuggestions();
}

void GotoForm::loadSuggestions()
{
    struct Result {
        std::shared_ptr<const SuggestionIndex> index;
    };
    auto result = std::make_shared<Result>();
    const QString links = QV_Variaveis::LinksDbPath, history = QV_Variaveis::HistoryDbPath;
    QThread* thread = QThread::create([result, links, history] {
        try {
            result->index = SuggestionIndex::load(links, history);
        } catch (const QvError& e) {
            qWarning("quorvane: no suggestions: %s", qPrintable(e.message()));
        }
    });
    // The thread may outlive the window: it belongs to the application.
    thread->setParent(QCoreApplication::instance());
    connect(thread, &QThread::finished, thread, &QObject::deleteLater);
    connect(thread, &QThread::finished, this, [this, result] {
        if (result->index)
            takeSuggestions(result->index);
    });
    thread->start(QThread::LowPriority);
}

void GotoForm::takeSuggestions(std::shared_ptr<const SuggestionIndex> index)
{
    m_query = std::make_unique<SuggestionQuery>(std::move(index));
    suggest();
    Q_EMIT suggestionsLoaded();
}

void GotoForm::suggest()
{
    if (!m_query)
        return;
    std::vector<Suggestion> rows;
    for (size_t i : m_query->find(txtEndereco->text()))
        rows.push_back(m_query->index().at(i));
    lstSugestoes->setSuggestions(std::move(rows));
}

void GotoForm::acceptAnswer()
{
    if (lstSugestoes->current() >= 0)
        pick(lstSugestoes->current());
    else
        goTyped();
}

void GotoForm::pick(int row)
{
    // A saved site's address comes as the site store gives it for opening (decoded, trimmed):
    // it opens as it does from the site list.
    go(GetFullUrl(lstSugestoes->suggestions().at(size_t(row)).url));
}

void GotoForm::goTyped()
{
    const QString typed = txtEndereco->text();
    const QString fallback = QString::fromUtf16(TypedText::kDefaultSearchTemplate);
    TypedText::Result r = TypedText::classify(typed, fallback);
    switch (r.kind) {
    case TypedText::Kind::Empty:
        return;
    case TypedText::Kind::Refused:
        txtEndereco->selectAll();
        showNotice(QStringLiteral("Endereços \"javascript:\" não são abertos."));
        return;
    case TypedText::Kind::Internal:
        txtEndereco->selectAll();
        showNotice(TypedText::internalNotice(r.url));
        return;
    case TypedText::Kind::Search:
        if (const auto chosen = ConfigStore::setting(QString::fromUtf16(ConfigStore::kSearchKey))) {
            if (TypedText::isSearchTemplate(*chosen))
                r = TypedText::classify(typed, *chosen);
            else
                showNotice(QStringLiteral("A pesquisa da tabela Ajustes de QV_Config.mdb não é "
                                          "um endereço http(s) com %s; usada a pesquisa padrão."));
        }
        break;
    case TypedText::Kind::Address:
        break;
    }
    go(r.url);
}

void GotoForm::go(const QString& address)
{
    MainWindow::get().navigate(address);
    rejectAnswer();
}
