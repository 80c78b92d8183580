#include "dialogs/Form6_Del.h"

#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/Platform.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/Form5_Msg.h"
#include "forms/Controls.h"
#include "forms/Forms.h"
#include "layouts/Layouts.h"
#include "storage/SiteStore.h"

#include <QLabel>
#include <QShortcut>

Form6_Del::Form6_Del()
    : BaseForm(layout::Form6_DelLayout)
    , btnDelete(control<LabelControl>("btnDelete"))
    , btnClose(control<LabelControl>("btnClose"))
    , shpForm(control<QWidget>("shpForm"))
{
    const PressedLook::Slot slot1{control<QLabel>("lblPosTop1"), control<QLabel>("lblPosLeft1")};
    const PressedLook::Slot slot2{control<QLabel>("lblPosTop2"), control<QLabel>("lblPosLeft2")};
    m_pressedLook.attach(btnDelete,
                         {{btnDelete, slot1}, {control<QWidget>("btnDeleteBack"), slot2}});
    m_pressedLook.attach(btnClose, {{btnClose, slot1}, {control<QWidget>("btnCloseBack"), slot2}});
    connectHandler(btnDelete, &LabelControl::Click, this, &Form6_Del::btnDelete_Click);
    connectHandler(btnClose, &LabelControl::Click, this, &Form6_Del::btnClose_Click);
    // Enter answers "SIM" and Escape "NÃO", wherever the focus is.
    for (int key : {Qt::Key_Return, Qt::Key_Enter})
        connectHandler(windowKey(key), &QShortcut::activated, this, &Form6_Del::btnDelete_Click);
    connectHandler(windowKey(Qt::Key_Escape), &QShortcut::activated, this,
                   &Form6_Del::btnClose_Click);
}

void Form6_Del::Form_Load() { placeOverAdministrationWindow(*this, *shpForm); }

void Form6_Del::ask(BaseForm& window, DeletionRequester& requester)
{
    m_window = &window;
    m_requester = &requester;
    showModal();
}

void Form6_Del::btnDelete_Click()
{
    if (!m_window || !Forms::loaded().contains(m_window.data()) || !m_requester) {
        // The administration window that asked has closed meanwhile: there is no selection
        // left to delete, and no other window is loaded in its place.
        btnClose_Click();
        showNotice(QStringLiteral("A janela de administração foi fechada; nada foi deletado."));
        return;
    }
    QV_Variaveis::SetDatabasePaths();
    SiteStore::instance().remove(m_requester->selectedSiteIds());
    Hide();
    Forms::unload(this);
    showNotice(QStringLiteral("Item(ns) deletado(s) com sucesso."));
}

void Form6_Del::btnClose_Click()
{
    Hide();
    Forms::unload(this);
}
