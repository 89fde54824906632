// What a window shows of its texts: every visible label, button, check box, radio button, group
// title, tab, drop-down box and outline item whose text does not fit the space its widget gives it, or whose
// widget is not wholly inside its parents and its window. Font metrics against the style's own
// rectangles, as the widget paints.
#pragma once

#include <QAbstractButton>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QRadioButton>
#include <QStyle>
#include <QStyleOption>
#include <QTabBar>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QWidget>

#include <string>
#include <vector>

namespace quorlet::test {

namespace textfit {

// The protected style options and tab sizes, reached through pointers to members.
struct PushAccess : QPushButton {
    using QPushButton::initStyleOption;
};
struct CheckAccess : QCheckBox {
    using QCheckBox::initStyleOption;
};
struct RadioAccess : QRadioButton {
    using QRadioButton::initStyleOption;
};
struct GroupAccess : QGroupBox {
    using QGroupBox::initStyleOption;
};
struct ComboAccess : QComboBox {
    using QComboBox::initStyleOption;
};
struct TabAccess : QTabBar {
    using QTabBar::tabSizeHint;
};

inline std::string Name(const QWidget* w) {
    std::string name = w->metaObject()->className();
    if (!w->objectName().isEmpty()) name += " " + w->objectName().toStdString();
    return name;
}

inline QString Plain(QString text) {
    // "&&" shows "&"; a single "&" marks the mnemonic and takes no room.
    text.replace(QStringLiteral("&&"), QStringLiteral("\x01"));
    text.remove(QLatin1Char('&'));
    text.replace(QLatin1Char('\x01'), QLatin1Char('&'));
    return text;
}

// The widget's rectangle inside every ancestor up to its window; empty when it is.
inline std::string Outside(const QWidget* w, const QWidget* window) {
    QRect r = w->rect();
    for (const QWidget* p = w; p != window && p->parentWidget(); p = p->parentWidget()) {
        r.translate(p->pos());
        const QWidget* parent = p->parentWidget();
        if (!parent->rect().contains(r))
            return "outside " + Name(parent) + " (" + std::to_string(r.left()) + "," +
                   std::to_string(r.top()) + " " + std::to_string(r.width()) + "x" +
                   std::to_string(r.height()) + " in " + std::to_string(parent->width()) + "x" +
                   std::to_string(parent->height()) + ")";
    }
    return {};
}

inline std::string Need(int need, int have) {
    return "needs " + std::to_string(need) + " px, has " + std::to_string(have);
}

// The text's size against the room it is drawn in.
inline std::string SizeFault(QSize need, QSize room) {
    if (need.width() > room.width()) return "width " + Need(need.width(), room.width());
    if (need.height() > room.height()) return "height " + Need(need.height(), room.height());
    return {};
}

inline std::string LabelFault(const QLabel* label) {
    const QString text = label->text();
    QRect space =
        label->contentsRect().adjusted(label->margin(), label->margin(), -label->margin(), -label->margin());
    const int indent = label->indent() > 0 ? label->indent() : 0;
    space.adjust(indent, 0, 0, 0);
    const bool rich = label->textFormat() == Qt::RichText ||
                      (label->textFormat() == Qt::AutoText && Qt::mightBeRichText(text));
    QSize need;
    if (rich) {
        QTextDocument doc;
        doc.setDefaultFont(label->font());
        doc.setDocumentMargin(0);
        doc.setHtml(text);
        if (label->wordWrap()) doc.setTextWidth(space.width());
        need = QSize(qCeil(doc.idealWidth()), qCeil(doc.size().height()));
    } else if (label->wordWrap()) {
        const int flags = Qt::TextShowMnemonic | Qt::TextWordWrap;
        need = label->fontMetrics().boundingRect(QRect(0, 0, space.width(), 1 << 20), flags, text).size();
    } else {
        need = label->fontMetrics().size(Qt::TextShowMnemonic, text);
    }
    return SizeFault(need, space.size());
}

inline std::string PushFault(QPushButton* b) {
    QStyleOptionButton opt;
    void (QPushButton::*init)(QStyleOptionButton*) const = &PushAccess::initStyleOption;
    (b->*init)(&opt);
    QStyle* style = b->style();
    const QRect contents = style->subElementRect(QStyle::SE_PushButtonContents, &opt, b);
    QSize text = b->fontMetrics().size(Qt::TextShowMnemonic, b->text());
    if (!b->icon().isNull()) text.rwidth() += b->iconSize().width() + 4;
    // The text's own margin inside the bevel, as the style sizes a button.
    text.rwidth() += style->pixelMetric(QStyle::PM_ButtonMargin, &opt, b);
    return SizeFault(text, contents.size());
}

template <typename Box, typename Access> std::string IndicatorFault(Box* b, QStyle::SubElement element) {
    QStyleOptionButton opt;
    void (Box::*init)(QStyleOptionButton*) const = &Access::initStyleOption;
    (b->*init)(&opt);
    const QRect contents = b->style()->subElementRect(element, &opt, b);
    return SizeFault(b->fontMetrics().size(Qt::TextShowMnemonic, b->text()), contents.size());
}

inline std::string GroupFault(QGroupBox* box) {
    QStyleOptionGroupBox opt;
    void (QGroupBox::*init)(QStyleOptionGroupBox*) const = &GroupAccess::initStyleOption;
    (box->*init)(&opt);
    const QRect label =
        box->style()->subControlRect(QStyle::CC_GroupBox, &opt, QStyle::SC_GroupBoxLabel, box);
    const int need = box->fontMetrics().horizontalAdvance(Plain(box->title()));
    if (need > label.width()) return "title " + Need(need, label.width());
    if (!box->rect().contains(label)) return "title runs past the box";
    return {};
}

inline std::string ComboFault(QComboBox* combo) {
    QStyleOptionComboBox opt;
    void (QComboBox::*init)(QStyleOptionComboBox*) const = &ComboAccess::initStyleOption;
    (combo->*init)(&opt);
    const QRect field =
        combo->style()->subControlRect(QStyle::CC_ComboBox, &opt, QStyle::SC_ComboBoxEditField, combo);
    // Every item can be the one shown.
    for (int i = 0; i < combo->count(); ++i) {
        const int need = combo->fontMetrics().horizontalAdvance(combo->itemText(i));
        if (need > field.width())
            return "item \"" + combo->itemText(i).toStdString() + "\" " + Need(need, field.width());
    }
    return {};
}

struct TTabFault {
    QString text;
    std::string why;
};
inline std::vector<TTabFault> TabFaults(QTabBar* bar) {
    std::vector<TTabFault> faults;
    QSize (QTabBar::*hint)(int) const = &TabAccess::tabSizeHint;
    for (int i = 0; i < bar->count(); ++i) {
        const QRect r = bar->tabRect(i);
        const QSize need = (bar->*hint)(i);
        std::string fault;
        if (!bar->rect().contains(r))
            fault = "outside the tab bar";
        else if (r.width() < need.width())
            fault = "width " + Need(need.width(), r.width());
        if (!fault.empty()) faults.push_back({bar->tabText(i), "tab " + fault});
    }
    for (const QToolButton* arrow : bar->findChildren<QToolButton*>())
        if (arrow->isVisible()) {
            faults.push_back({{}, "the tab bar needs its scroll arrows"});
            break;
        }
    return faults;
}

// The outline items as shown (expanded ones' children too): each text inside its row and the
// view, as the item delegate draws it (the focus frame's margin on each side).
inline std::vector<TTabFault> OutlineFaults(QTreeWidget* tree) {
    std::vector<TTabFault> faults;
    const int margin = 2 * (tree->style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, tree) + 1);
    const int viewWidth = tree->viewport()->width();
    for (QTreeWidgetItemIterator it(tree); *it; ++it) {
        const QRect r = tree->visualItemRect(*it);
        if (r.isEmpty()) continue; // under a folded parent
        const QString text = (*it)->text(0);
        const int need = tree->fontMetrics().horizontalAdvance(text) + margin;
        if (need > std::min(r.width(), viewWidth - r.left()))
            faults.push_back({text, "item " + Need(need, std::min(r.width(), viewWidth - r.left()))});
    }
    return faults;
}

} // namespace textfit

struct TCutText {
    std::string where; // the widget and its text: QPushButton sbTIME "TIME"
    std::string why;
};

// Every text of `window` (as shown now) that is cut or lies outside the window. The menu bar
// is checked with `menuBar` only.
inline std::vector<TCutText> CutTexts(QWidget* window, bool menuBar = true) {
    using namespace textfit;
    std::vector<TCutText> cuts;
    const auto add = [&](const QWidget* w, const QString& text, const std::string& why) {
        if (!why.empty()) cuts.push_back({Name(w) + " \"" + text.toStdString() + "\"", why});
    };
    for (QWidget* w : window->findChildren<QWidget*>()) {
        if (!w->isVisible() || w->window() != window) continue;
        QString text;
        std::string why;
        if (auto* label = qobject_cast<QLabel*>(w)) {
            text = label->text();
            if (text.isEmpty()) continue;
            why = LabelFault(label);
        } else if (auto* push = qobject_cast<QPushButton*>(w)) {
            text = push->text();
            if (text.isEmpty()) continue;
            why = PushFault(push);
        } else if (auto* check = qobject_cast<QCheckBox*>(w)) {
            text = check->text();
            if (text.isEmpty()) continue;
            why = IndicatorFault<QCheckBox, CheckAccess>(check, QStyle::SE_CheckBoxContents);
        } else if (auto* radio = qobject_cast<QRadioButton*>(w)) {
            text = radio->text();
            if (text.isEmpty()) continue;
            why = IndicatorFault<QRadioButton, RadioAccess>(radio, QStyle::SE_RadioButtonContents);
        } else if (auto* group = qobject_cast<QGroupBox*>(w)) {
            text = group->title();
            if (text.isEmpty()) continue;
            why = GroupFault(group);
        } else if (auto* combo = qobject_cast<QComboBox*>(w)) {
            text = combo->currentText();
            why = ComboFault(combo);
        } else if (auto* tabs = qobject_cast<QTabBar*>(w)) {
            for (const TTabFault& fault : TabFaults(tabs))
                add(w, fault.text, fault.why);
            why = Outside(w, window);
        } else if (auto* tree = qobject_cast<QTreeWidget*>(w)) {
            for (const TTabFault& fault : OutlineFaults(tree))
                add(w, fault.text, fault.why);
            why = Outside(w, window);
        } else if (auto* bar = qobject_cast<QMenuBar*>(w)) {
            if (!menuBar) continue;
            for (QAction* item : bar->actions())
                if (item->isVisible() && !bar->rect().contains(bar->actionGeometry(item)))
                    add(w, item->text(), "menu item outside the menu bar");
            if (const auto* more = bar->findChild<QToolButton*>(); more && more->isVisible())
                add(w, {}, "menu bar needs its extension button");
            continue;
        } else {
            continue;
        }
        if (why.empty()) why = Outside(w, window);
        add(w, text, why);
    }
    return cuts;
}

} // namespace quorlet::test
