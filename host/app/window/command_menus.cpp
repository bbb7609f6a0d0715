// The menus from the module's command table, and running a command as its menu item does.
#include "host/app/window/command_menus.h"

#include <QtCore/QStringList>
#include <QtGui/QAction>
#include <QtWidgets/QMenu>
#include <QtWidgets/QMenuBar>
#include <algorithm>
#include <utility>
#include <vector>

#include "host/app/core/module_session.h"
#include "host/app/window/main_window.h"
#include "toolkit/file_filter.h"

namespace fighost {

QString categoryTitle(const std::string& category) {
    static const std::pair<const char*, const char*> kWords[] = {
        {"BUILD", "Build"}, {"UTIL", "Utilities"}, {"LOAD", "Load"}, {"SAVE", "Save"}};
    for (const auto& word : kWords)
        if (category == word.first)
            return QString::fromLatin1(word.second);
    QString title = QString::fromStdString(category).toLower();
    if (!title.isEmpty())
        title[0] = title[0].toUpper();
    return title;
}

QString dialogFilter(const std::string& moduleFilter) {
    QStringList lines;
    for (const toolkit::FileFilter& filter : toolkit::parseFileFilters(moduleFilter.c_str()))
        lines << QString::fromStdString(toolkit::nameFilter(filter));
    lines << QStringLiteral("All files (*)");
    return lines.join(QStringLiteral(";;"));
}

CommandMenus::CommandMenus(MainWindow* window, ModuleSession* session)
    : QObject(window), window_(window), session_(session) {}

void CommandMenus::addTo(QMenuBar* bar) {
    const std::vector<standin::Command>& commands = standin::scene().commands;
    std::vector<std::pair<std::string, QMenu*>> menus;
    for (size_t row = 0; row < commands.size(); ++row) {
        const standin::Command& command = commands[row];
        auto found = std::find_if(menus.begin(), menus.end(),
                                  [&](const auto& menu) { return menu.first == command.category; });
        QMenu* menu = found != menus.end() ? found->second : nullptr;
        if (menu == nullptr) {
            menu = bar->addMenu(categoryTitle(command.category));
            menus.emplace_back(command.category, menu);
        }
        QString label = QString::fromStdString(command.label);
        if (command.category == "LOAD")
            label += QStringLiteral("…");
        QAction* action = menu->addAction(label);
        action->setData(static_cast<qulonglong>(row));
        connect(action, &QAction::triggered, this, [this, row] { run(row); });
    }
}

void CommandMenus::run(size_t row) {
    const std::vector<standin::Command>& commands = standin::scene().commands;
    if (row >= commands.size())
        return;
    const standin::Command command = commands[row];
    QString label = QString::fromStdString(command.label);
    if (command.category == "LOAD") {
        std::string filter = session_->textResult(command.entry, kMessageFileFilter);
        QString path = window_->chooseFile(label, dialogFilter(filter));
        if (!path.isEmpty())
            window_->loadFile(path, command.entry);
        return;
    }
    // The main action wants a call value; the host passes 1, and the object the command is for.
    // What it does to the scene (the builder's sheet) is a step for Undo.
    int answer = 0;
    window_->recordChange(label + QStringLiteral(" of %1"), window_->selectedObject(), [&] {
        answer = session_->send(command.entry, kMessageMainAction, window_->selectedObject(), 1);
    });
    if (answer != 1)
        window_->tell(label + QStringLiteral(": the module did nothing"));
    window_->refresh();
}

}  // namespace fighost
