// Internal to the controls: conversions between our UTF-8 strings and the toolkit's
// strings and colours. Included only by the controls' own sources.
#pragma once

#include <QColor>
#include <QCoreApplication>
#include <QPointer>
#include <QString>
#include <QWidget>
#include <string>

namespace ctlqt {

inline QString Q(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }
inline std::string S(const QString& s) { return s.toUtf8().toStdString(); }

// 0x00BBGGRR, as the platform stores colours.
inline QColor Color(int bgr) { return QColor(bgr & 0xFF, (bgr >> 8) & 0xFF, (bgr >> 16) & 0xFF); }

// Marks on the widgets of default and cancel buttons, which their window presses on an
// Enter or Escape that no focused control took.
inline constexpr const char* DefaultButtonProperty = "platformDefaultButton";
inline constexpr const char* CancelButtonProperty = "platformCancelButton";

// Installs one event filter of type Filter on the application, the first time it is
// asked (once there is an application): a filter that serves every control of the program.
template <class Filter> void InstallApplicationFilter()
{
    static QPointer<Filter> filter;
    if (filter == nullptr && QCoreApplication::instance() != nullptr) {
        filter = new Filter(QCoreApplication::instance());
        QCoreApplication::instance()->installEventFilter(filter);
    }
}

// Above zero while a tab bar switches pages only to put the switch back (a user's switch
// is undone, asked about, then made as the program's): the pages that show meanwhile do
// not count as shown again.
inline int& PassingPageShows()
{
    static int depth = 0;
    return depth;
}

// The widget that the form builder makes a container's controls inside while it makes
// them (null otherwise). A combo box made there has the container's font from the start:
// a change of its font afterwards makes it build its list's popup window at once.
inline QWidget*& NewControlsParent()
{
    static QWidget* parent = nullptr;
    return parent;
}

} // namespace ctlqt
