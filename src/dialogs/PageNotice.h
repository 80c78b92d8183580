#pragma once

#include "forms/BaseForm.h"

#include <optional>

class QLabel;

// A notice about what a page did or asked (a download, a print, a refusal, a notification): the
// timed notice's look and place and its three seconds, without a modal loop. It takes no focus and
// no input: clicks and keys made while it is up reach the window they are made in.
//
// A notice of the kind on show merges into it ("5 downloads concluídos"); one of another kind
// waits for it, merging with any of its own kind that waits. No notice waits behind more than one
// other: when a third kind comes, the notice on show ends at once and the waiting one takes its
// place. A merge starts the three seconds again only while nothing waits.
class PageNotice : public BaseForm {
    Q_OBJECT
public:
    enum class Kind {
        DownloadDone,
        DownloadFailed,
        DownloadRefused,
        PrintDone,
        PrintFailed,
        // A page's notification, told here when the desktop cannot show it.
        PageNotification,
        ScreenShareRefused
    };

    PageNotice();

    // Shows `text`, or merges it, as above; beeps when a notice comes up, not when one merges.
    static void post(Kind kind, const QString& text);

    void Form_Load() override;
    void TimerCount_Timer();

protected:
    // Like the timed notice, it keeps its time whatever asks it to close.
    void closeFromOutside() override {}

private:
    struct Notice {
        Kind kind;
        int count;
        QString text;
    };
    void add(Kind kind, const QString& text);
    void setMessage(const Notice& notice);
    // Shows the notice for three seconds from now.
    void display(const Notice& notice);
    static QString textOf(const Notice& notice);

    QLabel* lblMensagem;
    QLabel* lblCount;
    QWidget* shpForm;
    FormTimer* TimerCount;
    QFont m_font;
    Notice m_shown{Kind::DownloadDone, 0, {}};
    std::optional<Notice> m_waiting;
    qint16 m_remaining = 3;
};
