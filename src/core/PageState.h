#pragma once

#include <QByteArray>
#include <QString>

// What is kept of one page between runs and after it is closed: where it is, what it is called,
// and its back and forward list as the engine writes it (empty when there is none yet).
struct PageState {
    QString address;
    QString title;
    QByteArray history;

    friend bool operator==(const PageState&, const PageState&) = default;
};
