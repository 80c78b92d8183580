#include "dialogs/Form6_Del.h"

#include "app/Database.h"
#include "app/ErrorReporter.h"
#include "app/Forms.h"
#include "app/Paths.h"
#include "app/Platform.h"
#include "dialogs/Controls.h"
#include "dialogs/DialogPlacement.h"
#include "dialogs/Form5_Msg.h"
#include "dialogs/Layouts.h"
#include "sites/Form2_Lista.h"
#include "sites/SiteStore.h"

#include <QLabel>
#include <QLineEdit>
#include <QListWidget>

Form6_Del::Form6_Del()
    : BaseForm(layout::Form6_DelLayout)
    , btnDelete(control<LabelControl>("btnDelete"))
    , btnClose(control<LabelControl>("btnClose"))
{
    const PressedLook::Slot slot1{control<QLabel>("lblPosTop1"), control<QLabel>("lblPosLeft1")};
    const PressedLook::Slot slot2{control<QLabel>("lblPosTop2"), control<QLabel>("lblPosLeft2")};
    m_pressedLook.attach(btnDelete,
                         {{btnDelete, slot1}, {control<QWidget>("btnDeleteBack"), slot2}});
    m_pressedLook.attach(btnClose, {{btnClose, slot1}, {control<QWidget>("btnCloseBack"), slot2}});
    connectHandler(btnDelete, &LabelControl::Click, this, &Form6_Del::btnDelete_Click);
    connectHandler(btnClose, &LabelControl::Click, this, &Form6_Del::btnClose_Click);
}

void Form6_Del::Form_Load() { placeOverAdministrationWindow(*this); }

void Form6_Del::btnDelete_Click()
{
    Form2_Lista& lista = Forms::get<Form2_Lista>();
    QV_Variaveis::SetDatabasePaths();
    auto db = SiteStore::open();
    try {
        for (int i = lista.lstSites->count() - 1; i >= 0; --i) {
            if (lista.lstSites->item(i)->isSelected())
                db->Execute(SiteStore::deleteSql(lista.rowId(i)));
        }
    } catch (const QvError&) {
        // What was deleted stays deleted: the list shows the table as it now is.
        ErrorReporter::guard([&] { lista.refillList(*db); });
        throw;
    }
    const int n = lista.refillList(*db);
    lista.lblTotal->setText(QString::number(n) + QStringLiteral(" ítens"));
    lista.txtTitulo1->setText(QString());
    lista.txtURL->setText(QString());
    db->Close();
    Hide();
    Forms::unload(this);
    showNotice(QStringLiteral("Item(ns) deletado(s) com sucesso."));
}

void Form6_Del::btnClose_Click()
{
    Hide();
    Forms::unload(this);
}
