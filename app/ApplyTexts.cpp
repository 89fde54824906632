#include "app/ApplyTexts.h"

#include <QAbstractButton>
#include <QAction>
#include <QApplication>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QSpinBox>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>

#include <cstring>
#include <string>

#include "core/FData.h"
#include "core/debuglog.h"
#include "settings/FCap.h"
#include "settings/languageapply.h"

namespace quorlet {

namespace {

// The same order as the bindings table: the main window last (its menu shortening measures).
const char* const kForms[] = {"TMult",           "TProgressBar",       "TAbout",
                              "TCounters",       "Tcustom_board_size", "Tdebug",
                              "TDebug_Command",  "THistory",           "TLocal_High_Scores",
                              "TOptions_window", "TFormula",           "TMain"};

QString FormName(const QWidget* window) {
    if (!window->objectName().isEmpty()) return window->objectName();
    QString name = QString::fromLatin1(window->metaObject()->className());
    const int colon = name.lastIndexOf(QLatin1Char(':'));
    return colon < 0 ? name : name.mid(colon + 1);
}

void SetCaption(QObject* control, const QString& text) {
    if (auto* menu = qobject_cast<QMenu*>(control))
        menu->setTitle(text);
    else if (auto* action = qobject_cast<QAction*>(control))
        action->setText(text);
    else if (auto* group = qobject_cast<QGroupBox*>(control))
        group->setTitle(text);
    else if (auto* button = qobject_cast<QAbstractButton*>(control))
        button->setText(text);
    else if (auto* label = qobject_cast<QLabel*>(control))
        label->setText(text);
    else if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->setText(text);
}

void SetHint(QObject* control, const QString& text) {
    if (auto* action = qobject_cast<QAction*>(control))
        action->setToolTip(text);
    else if (auto* widget = qobject_cast<QWidget*>(control))
        widget->setToolTip(text);
}

// Item `item` (from 1) of a page list; outlines count their items depth first.
void SetListItem(QObject* control, int item, const QString& text) {
    if (item < 1) return;
    if (auto* tree = qobject_cast<QTreeWidget*>(control)) {
        int n = 0;
        for (QTreeWidgetItemIterator it(tree); *it; ++it)
            if (++n == item) {
                (*it)->setText(0, text);
                return;
            }
    } else if (auto* list = qobject_cast<QListWidget*>(control)) {
        if (QListWidgetItem* entry = list->item(item - 1)) entry->setText(text);
    } else if (auto* combo = qobject_cast<QComboBox*>(control)) {
        if (item <= combo->count()) combo->setItemText(item - 1, text);
    } else if (auto* tabs = qobject_cast<QTabWidget*>(control)) {
        if (item <= tabs->count()) tabs->setTabText(item - 1, text);
    }
}

QString FieldText(QWidget* window, const char* name) {
    QObject* field = window->findChild<QObject*>(QString::fromLatin1(name));
    if (auto* spin = qobject_cast<QSpinBox*>(field)) return QString::number(spin->value());
    if (auto* edit = qobject_cast<QLineEdit*>(field)) return edit->text();
    return {};
}

void ApplyDensityLabel(QWidget* window) {
    auto* label = window->findChild<QLabel*>(QStringLiteral("lPercents"));
    if (!label) return;
    const std::string text = DensityText(FieldText(window, "edMines").trimmed().toStdString(),
                                         FieldText(window, "edWidth").trimmed().toStdString(),
                                         FieldText(window, "edHeight").trimmed().toStdString());
    label->setText(QString::fromStdString(text));
}

void ShortenMainMenu(QWidget* window) {
    auto* main = qobject_cast<QMainWindow*>(window);
    ShortenMenuBar(main ? main->menuBar() : window->findChild<QMenuBar*>(),
                   window->findChild<QMenu*>(QStringLiteral("HelpMnu")),
                   window->findChild<QMenu*>(QStringLiteral("GameMnu")),
                   window->findChild<QMenu*>(QStringLiteral("OptionsMnu")), window->width());
}

} // namespace

void ShortenMenuBar(QMenuBar* bar, QMenu* help, QMenu* game, QMenu* options, int availableWidth) {
    if (LastColumn >= 11 || !bar || !help || !game || !options) return;
    std::string helpText = help->title().toStdString();
    std::string gameText = game->title().toStdString();
    std::string optionsText = options->title().toStdString();
    ShortenMenuCaptions(helpText, gameText, optionsText, [&] {
        help->setTitle(QString::fromStdString(helpText));
        game->setTitle(QString::fromStdString(gameText));
        options->setTitle(QString::fromStdString(optionsText));
        return bar->sizeHint().width() <= availableWidth;
    });
}

void ApplyTextsTo(QWidget* window, const char* formName) {
    if (!window || !formName) return;
    for (const TTextBinding& b : TextBindings) {
        if (std::strcmp(b.window, formName) != 0) continue;
        const QString text = QString::fromStdString(UIText(b.key));
        if (b.target == TTextTarget::Caption) {
            window->setWindowTitle(text);
            continue;
        }
        if (b.target == TTextTarget::DebugCaption) {
            window->setWindowTitle(QString::fromStdString(DebugLogCaption()));
            continue;
        }
        QObject* control = window->findChild<QObject*>(QString::fromLatin1(b.control));
        if (!control) continue;
        switch (b.target) {
        case TTextTarget::Text: SetCaption(control, text); break;
        case TTextTarget::UpperText: SetCaption(control, text.toUpper()); break;
        case TTextTarget::Hint: SetHint(control, text); break;
        case TTextTarget::ListItem: SetListItem(control, b.item, text); break;
        default: break;
        }
    }
    if (std::strcmp(formName, "Tcustom_board_size") == 0) ApplyDensityLabel(window);
    if (std::strcmp(formName, "TMain") == 0) ShortenMainMenu(window);
}

void ApplyTexts() {
    const QWidgetList windows = QApplication::topLevelWidgets();
    for (const char* form : kForms)
        for (QWidget* window : windows)
            if (FormName(window) == QLatin1String(form)) ApplyTextsTo(window, form);
}

} // namespace quorlet
