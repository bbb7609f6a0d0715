#include "ui_driver.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QMessageBox>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>
#include <memory>

namespace ui_test {

const Module& module() {
    static const Module loaded = loadModule(FIGURE_LIBRARY_PATH);
    return loaded;
}

Script& Script::on(const std::string& window, std::function<void(QWidget*)> action) {
    steps_.push_back(Step{window, std::move(action)});
    return *this;
}

namespace {

bool matches(const std::string& window, QWidget* active) {
    bool isMessage = qobject_cast<QMessageBox*>(active) != nullptr;
    if (window == kMessage)
        return isMessage;
    return !isMessage && active->windowTitle().toStdString() == window;
}

}  // namespace

int Script::run(const std::function<int()>& call) {
    size_t next = 0;
    bool pending = false;
    bool timedOut = false;
    // The windows whose steps are running, innermost last.
    std::vector<QWidget*> busy;
    QWidget* lastSeen = nullptr;

    QTimer poll;
    poll.setInterval(2);
    QObject::connect(&poll, &QTimer::timeout, [&] {
        QWidget* active = QApplication::activeModalWidget();
        if (active == nullptr || !active->isVisible())
            return;
        if (active != lastSeen) {
            lastSeen = active;
            if (auto* box = qobject_cast<QMessageBox*>(active))
                messages_.push_back(box->windowTitle().toStdString() + ": " +
                                    box->text().toStdString());
        }
        if (pending || next >= steps_.size() || timedOut)
            return;
        if (!busy.empty() && busy.back() == active)
            return;
        if (!matches(steps_[next].window, active))
            return;
        pending = true;
        std::function<void(QWidget*)> action = steps_[next++].action;
        QPointer<QWidget> target(active);
        // A step of its own, so that a window it opens can run the next step meanwhile.
        QTimer::singleShot(0, [&, action, target] {
            pending = false;
            if (target.isNull())
                return;
            busy.push_back(target.data());
            action(target.data());
            busy.pop_back();
        });
    });

    // Past the time limit every modal window is closed, innermost first, until the call returns.
    QTimer closer;
    closer.setInterval(20);
    QObject::connect(&closer, &QTimer::timeout, [] {
        if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget()))
            dialog->reject();
    });
    QTimer limit;
    limit.setSingleShot(true);
    QObject::connect(&limit, &QTimer::timeout, [&] {
        timedOut = true;
        QWidget* active = QApplication::activeModalWidget();
        ADD_FAILURE() << "time limit of " << seconds_ << " s: still open: "
                      << (active ? active->windowTitle().toStdString() : "nothing")
                      << "; steps run: " << next << " of " << steps_.size();
        closer.start();
    });

    poll.start();
    limit.start(seconds_ * 1000);
    int result = call();
    poll.stop();
    limit.stop();
    closer.stop();
    // Steps posted but not yet run must not outlive this frame.
    QApplication::processEvents();
    EXPECT_EQ(next, steps_.size())
        << "a step's window never came: " << steps_[std::min(next, steps_.size() - 1)].window;
    return result;
}

QWidget* control(QWidget* widget, int id) {
    QWidget* found = widget != nullptr ? widget->findChild<QWidget*>(QString::number(id)) : nullptr;
    EXPECT_NE(found, nullptr) << "no control " << id;
    return found;
}

QLineEdit* edit(QWidget* widget, int id) {
    auto* found = qobject_cast<QLineEdit*>(control(widget, id));
    EXPECT_NE(found, nullptr) << id << " is no edit";
    return found;
}

QAbstractButton* button(QWidget* widget, int id) {
    auto* found = qobject_cast<QAbstractButton*>(control(widget, id));
    EXPECT_NE(found, nullptr) << id << " is no button";
    return found;
}

QTreeWidget* tree(QWidget* widget) {
    auto* found = qobject_cast<QTreeWidget*>(control(widget, 1006));
    EXPECT_NE(found, nullptr);
    return found;
}

QWidget* page(QWidget* sheet, const QString& tab) {
    auto* tabs = sheet->findChild<QTabWidget*>();
    if (tabs == nullptr)
        return nullptr;
    for (int i = 0; i < tabs->count(); ++i)
        if (tabs->tabText(i) == tab)
            return tabs->widget(i);
    ADD_FAILURE() << "no page " << tab.toStdString();
    return nullptr;
}

QWidget* showPage(QWidget* sheet, const QString& tab) {
    auto* tabs = sheet->findChild<QTabWidget*>();
    if (tabs == nullptr)
        return nullptr;
    for (int i = 0; i < tabs->count(); ++i) {
        if (tabs->tabText(i) != tab)
            continue;
        QTabBar* bar = tabs->tabBar();
        QTest::mouseClick(bar, Qt::LeftButton, Qt::NoModifier, bar->tabRect(i).center());
        return tabs->widget(i);
    }
    ADD_FAILURE() << "no page " << tab.toStdString();
    return nullptr;
}

void click(QAbstractButton* button) {
    if (button != nullptr)
        QTest::mouseClick(button, Qt::LeftButton);
}

void type(QLineEdit* edit, const QString& text) {
    if (edit == nullptr)
        return;
    edit->setFocus();
    QTest::keyClick(edit, Qt::Key_A, Qt::ControlModifier);
    if (text.isEmpty())
        QTest::keyClick(edit, Qt::Key_Delete);
    for (QChar c : text) {
        // Keys for ASCII; any other character arrives as the text of a key Qt does not name.
        if (c.unicode() < 128)
            QTest::keyClick(edit, c.toLatin1());
        else
            QTest::sendKeyEvent(QTest::Click, edit, Qt::Key_unknown, QString(c), Qt::NoModifier);
    }
}

namespace {

QTreeWidgetItem* findItem(QTreeWidgetItem* item, const QString& text) {
    if (item->text(0) == text)
        return item;
    for (int i = 0; i < item->childCount(); ++i)
        if (QTreeWidgetItem* found = findItem(item->child(i), text))
            return found;
    return nullptr;
}

void appendItem(const QTreeWidgetItem* item, std::string* out) {
    *out += item->text(0).toLatin1().toStdString();
    if (item->childCount() == 0)
        return;
    *out += "[";
    for (int i = 0; i < item->childCount(); ++i) {
        if (i > 0)
            *out += ",";
        appendItem(item->child(i), out);
    }
    *out += "]";
}

}  // namespace

void clickItem(QTreeWidget* tree, const QString& text, bool twice) {
    if (tree == nullptr)
        return;
    QTreeWidgetItem* item = findItem(tree->invisibleRootItem(), text);
    ASSERT_NE(item, nullptr) << "no item " << text.toStdString();
    for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent())
        up->setExpanded(true);
    tree->scrollToItem(item);
    QPoint where = tree->visualItemRect(item).center();
    // A double click is a click and then the second press.
    QTest::mouseClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, where);
    if (twice)
        QTest::mouseDClick(tree->viewport(), Qt::LeftButton, Qt::NoModifier, where);
}

std::string treeText(QTreeWidget* tree) {
    std::string out;
    if (tree == nullptr)
        return out;
    for (int i = 0; i < tree->topLevelItemCount(); ++i) {
        if (i > 0)
            out += ",";
        appendItem(tree->topLevelItem(i), &out);
    }
    return out;
}

void chooseFile(QWidget* fileDialog, int filter, const std::string& path) {
    auto* types = fileDialog->findChild<QComboBox*>("fileTypeCombo");
    auto* name = fileDialog->findChild<QLineEdit*>("fileNameEdit");
    auto* buttons = fileDialog->findChild<QDialogButtonBox*>("buttonBox");
    ASSERT_TRUE(types && name && buttons);
    // The filter first: choosing one in a save dialog changes a typed name's extension.
    types->setFocus();
    while (types->currentIndex() < filter - 1)
        QTest::keyClick(types, Qt::Key_Down);
    while (types->currentIndex() > filter - 1)
        QTest::keyClick(types, Qt::Key_Up);
    type(name, QString::fromStdString(path));
    QPushButton* accept = buttons->button(QDialogButtonBox::Open);
    if (accept == nullptr)
        accept = buttons->button(QDialogButtonBox::Save);
    ASSERT_NE(accept, nullptr);
    click(accept);
}

}  // namespace ui_test
