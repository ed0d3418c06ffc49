// Checks a shown form's layout as a user sees it: no two visible controls of one parent
// cover each other, and every caption (labels, buttons, check boxes, group titles, tabs,
// the chosen text of a combo box, grid headers) fits its control, measured with the
// control's own font.
#pragma once

#include "controls/Controls.h"

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QTabBar>
#include <QRegularExpression>
#include <QTableView>
#include <QToolButton>

#include <string>
#include <vector>

namespace layoutcheck {

inline QRect InWindow(const QWidget* W)
{
    return QRect(W->mapTo(W->window(), QPoint(0, 0)), W->size());
}

// The text as shown: without accelerator marks; the widest of its lines.
inline int TextWidth(const QWidget* W, QString Text)
{
    Text.remove(QRegularExpression("&(?!&)"));
    const QFontMetrics metrics(W->font());
    int widest = 0;
    for (const QString& line : Text.split('\n'))
        widest = std::max(widest, metrics.horizontalAdvance(line));
    return widest;
}

inline std::string Describe(const TControl* C)
{
    const QWidget* w = C->Widget();
    const QRect r = InWindow(w);
    return (C->Name().empty() ? std::string(w->metaObject()->className()) : C->Name()) + " [" +
           std::to_string(r.x()) + "," + std::to_string(r.y()) + " " + std::to_string(r.width()) + "x" +
           std::to_string(r.height()) + "]";
}

// The room a control's caption needs beside its text, or -1 when it shows no caption.
inline int CaptionFault(const QWidget* W, std::string& Text)
{
    QStyle* style = W->style();
    int need = 0;
    int have = W->width();
    QString text;
    if (const auto* label = qobject_cast<const QLabel*>(W)) {
        if (label->wordWrap() || label->textFormat() == Qt::RichText || !label->pixmap().isNull())
            return -1;
        text = label->text();
        have = label->contentsRect().width();
    } else if (qobject_cast<const QCheckBox*>(W) != nullptr || qobject_cast<const QRadioButton*>(W) != nullptr) {
        text = static_cast<const QAbstractButton*>(W)->text();
        need = style->pixelMetric(QStyle::PM_IndicatorWidth, nullptr, W) +
               style->pixelMetric(QStyle::PM_CheckBoxLabelSpacing, nullptr, W);
    } else if (const auto* button = qobject_cast<const QAbstractButton*>(W)) {
        text = button->text();
        need = 8;
        if (!button->icon().isNull() && !text.isEmpty())
            need += button->iconSize().width() + 4;
    } else if (const auto* group = qobject_cast<const QGroupBox*>(W)) {
        text = group->title();
        need = 16;
    } else if (const auto* combo = qobject_cast<const QComboBox*>(W)) {
        text = combo->currentText();
        need = style->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, W) + 8;
    } else {
        return -1;
    }
    if (text.isEmpty())
        return -1;
    need += TextWidth(W, text);
    Text = text.toStdString();
    return need > have ? need - have : -1;
}

// Every fault of the visible controls below Root; Where names the state checked.
inline void CollectFaults(const TControl* Root, const std::string& Where, std::vector<std::string>& Faults)
{
    const auto* container = dynamic_cast<const TWinControl*>(Root);
    if (container == nullptr)
        return;
    std::vector<const TControl*> shown;
    for (int i = 0; i < container->ControlCount(); ++i) {
        const TControl* c = container->Controls(i);
        const QWidget* w = c->Widget();
        if (w != nullptr && w->isVisible() && !w->isWindow() && w->width() > 0 && w->height() > 0)
            shown.push_back(c);
    }
    for (size_t i = 0; i < shown.size(); ++i) {
        const QRect a = InWindow(shown[i]->Widget());
        for (size_t j = i + 1; j < shown.size(); ++j)
            if (a.intersects(InWindow(shown[j]->Widget())))
                Faults.push_back(Where + ": " + Describe(shown[i]) + " overlaps " + Describe(shown[j]));
    }
    for (const TControl* c : shown) {
        const QWidget* w = c->Widget();
        std::string text;
        if (const int missing = CaptionFault(w, text); missing > 0)
            Faults.push_back(Where + ": \"" + text + "\" of " + Describe(c) + " lacks " + std::to_string(missing) +
                             " px");
        for (const auto* bar : w->findChildren<const QTabBar*>(QString(), Qt::FindDirectChildrenOnly)) {
            if (!bar->isVisible())
                continue;
            for (int t = 0; t < bar->count(); ++t) {
                if (!bar->isTabVisible(t))
                    continue;
                const QRect tab = bar->tabRect(t);
                if (tab.right() >= bar->width() || tab.width() < TextWidth(bar, bar->tabText(t)))
                    Faults.push_back(Where + ": tab \"" + bar->tabText(t).toStdString() + "\" of " + Describe(c) +
                                     " does not show whole");
            }
        }
        if (const auto* table = qobject_cast<const QTableView*>(w)) {
            const QHeaderView* header = table->horizontalHeader();
            for (int col = 0; header->isVisible() && col < header->count(); ++col) {
                const QString title = table->model()->headerData(col, Qt::Horizontal).toString();
                if (!header->isSectionHidden(col) && header->sectionSize(col) < TextWidth(header, title) + 6)
                    Faults.push_back(Where + ": header \"" + title.toStdString() + "\" of " + Describe(c) +
                                     " is clipped");
            }
        }
        CollectFaults(c, Where, Faults);
    }
}

inline std::vector<std::string> LayoutFaults(const TControl* Root, const std::string& Where)
{
    std::vector<std::string> faults;
    CollectFaults(Root, Where, faults);
    return faults;
}

} // namespace layoutcheck
