#include "info/Form4_Help.h"

#include "core/ErrorReporter.h"
#include "core/Paths.h"
#include "core/Platform.h"
#include "forms/Controls.h"
#include "forms/Forms.h"
#include "forms/MainWindow.h"
#include "layouts/Layouts.h"
#include "sites/Form2_Lista.h"

#include <QLabel>

Form4_Help::Form4_Help()
    : SecondaryForm(layout::Form4_HelpLayout)
    , btn1(control<ImageControl>("btn1"))
    , btn2(control<ImageControl>("btn2"))
    , btn3(control<ImageControl>("btn3"))
    , lblURL(control<LabelControl>("lblURL"))
{
    connectHandler(btn1, &ImageControl::Click, this, &Form4_Help::btn1_Click);
    connectHandler(btn2, &ImageControl::Click, this, &Form4_Help::btn2_Click);
    connectHandler(btn3, &ImageControl::Click, this, &Form4_Help::btn3_Click);
    connectHandler(lblURL, &LabelControl::Click, this, &Form4_Help::lblURL_Click);
    for (QWidget* b : {static_cast<QWidget*>(btn1), static_cast<QWidget*>(btn2),
                       static_cast<QWidget*>(btn3), static_cast<QWidget*>(lblURL)})
        withPressedLook(b);
}

void Form4_Help::Form_Load()
{
    startChrome();
    takeMainWindowIcon();
    armHideTimer();
}

void Form4_Help::btn1_Click()
{
    OpenFile(applicationDir() + readMeFolderLiteral() +
             QStringLiteral("ReadMe_Informacoes-e-consideracoes.pdf"));
}

void Form4_Help::btn2_Click()
{
    OpenFile(applicationDir() + readMeFolderLiteral() +
             QStringLiteral("ReadMe_Licenca-de-utilizacao.pdf"));
}

void Form4_Help::btn3_Click()
{
    OpenFile(applicationDir() + readMeFolderLiteral() +
             QStringLiteral("ReadMe_Caracteristicas-da-versao.pdf"));
}

void Form4_Help::OpenFile(const QString& filePath) { Platform::instance().openFile(filePath); }

void Form4_Help::lblURL_Click()
{
    Form2_Lista& lista = Forms::get<Form2_Lista>();
    lista.showHomeTitle(MainWindow::get().homeTitle());
    lista.setLeft(Left());
    lista.setTop(Top());
    lista.Show();
    Hide();
    Forms::unload(this);
}
