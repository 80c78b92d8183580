#include "info/Form3_About.h"

#include "core/ErrorReporter.h"
#include "core/UrlTools.h"
#include "forms/Controls.h"
#include "layouts/Layouts.h"

Form3_About::Form3_About()
    : SecondaryForm(layout::Form3_AboutLayout)
    , btnMeuSite(control<ImageControl>("btnMeuSite"))
{
    connectHandler(btnMeuSite, &ImageControl::Click, this, &Form3_About::btnMeuSite_Click);
    withPressedLook(btnMeuSite);
}

void Form3_About::Form_Load()
{
    startChrome();
    takeMainWindowIcon();
    armHideTimer();
}

void Form3_About::btnMeuSite_Click() { OpenExternal(QString::fromUtf16(kMakerSite)); }
