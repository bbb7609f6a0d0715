// The driver's functions for both toolkits, over the Qt layer's widgets.
#include <gtest/gtest.h>

#include <QApplication>
#include <QFileDialog>
#include <QMessageBox>
#include <QPixmap>
#include <QTabWidget>
#include <QTest>
#include <QToolButton>

#include "window_driver.h"

namespace ui_test {
namespace {

// Texts as the module gives and takes them: one byte a character, Latin-1 on Qt.
std::string bytes(const QString& text) {
    return text.toLatin1().toStdString();
}
QString fromBytes(const std::string& text) {
    return QString::fromLatin1(text.data(), static_cast<qsizetype>(text.size()));
}

// The offscreen platform warns about what it does not do with window sizes; nothing else is
// dropped.
void quietMessages(QtMsgType type, const QMessageLogContext& context, const QString& text) {
    if (text.contains(QLatin1String("propagateSizeHints")))
        return;
    fprintf(stderr, "%s\n", qPrintable(qFormatLogMessage(type, context, text)));
}

}  // namespace

std::string text(QWidget* window, int id) {
    QWidget* found = control(window, id);
    if (auto* edit = qobject_cast<QLineEdit*>(found))
        return bytes(edit->text());
    if (auto* button = qobject_cast<QAbstractButton*>(found))
        return bytes(button->text());
    return std::string();
}

bool isChecked(QWidget* window, int id) {
    QAbstractButton* found = button(window, id);
    return found != nullptr && found->isChecked();
}

bool isEnabled(QWidget* window, int id) {
    QWidget* found = control(window, id);
    return found != nullptr && found->isEnabled();
}

bool isVisible(QWidget* window, int id) {
    QWidget* found = control(window, id);
    return found != nullptr && found->isVisible();
}

bool isReadOnly(QWidget* window, int id) {
    QLineEdit* found = edit(window, id);
    return found != nullptr && found->isReadOnly();
}

bool hasFocus(QWidget* window, int id) {
    QWidget* found = control(window, id);
    return found != nullptr && found->window()->focusWidget() == found;
}

void click(QWidget* window, int id) {
    click(button(window, id));
}

void type(QWidget* window, int id, const std::string& typed) {
    type(edit(window, id), fromBytes(typed));
}

void press(QWidget* window, int id, Key key, int times) {
    for (int i = 0; i < times; ++i)
        QTest::keyClick(edit(window, id), key == Key::Up ? Qt::Key_Up : Qt::Key_Down);
}

void clickArrow(QWidget* window, int id, Key arrow, int times) {
    QWidget* upDown = control(window, id);
    QToolButton* found = nullptr;
    for (QToolButton* button :
         upDown != nullptr ? upDown->findChildren<QToolButton*>() : QList<QToolButton*>())
        if (button->arrowType() == (arrow == Key::Up ? Qt::UpArrow : Qt::DownArrow))
            found = button;
    ASSERT_NE(found, nullptr) << id << " has no arrow";
    for (int i = 0; i < times; ++i)
        QTest::mouseClick(found, Qt::LeftButton);
}

std::string pageTabs(QWidget* sheet) {
    auto* tabs = sheet->findChild<QTabWidget*>();
    std::string out;
    for (int i = 0; tabs != nullptr && i < tabs->count(); ++i)
        out += (i > 0 ? "," : "") + bytes(tabs->tabText(i));
    return out;
}

std::string currentPage(QWidget* sheet) {
    auto* tabs = sheet->findChild<QTabWidget*>();
    return tabs != nullptr ? bytes(tabs->tabText(tabs->currentIndex())) : std::string();
}

QWidget* openPage(QWidget* sheet, const std::string& tab) {
    return showPage(sheet, fromBytes(tab));
}

void clickSheetButton(QWidget* sheet, int id) {
    click(sheet, id);
}

bool isSheetButtonEnabled(QWidget* sheet, int id) {
    return isEnabled(sheet, id);
}

std::string limbList(QWidget* page) {
    return treeText(tree(page));
}

std::string selectedLimb(QWidget* page) {
    QTreeWidget* limbs = tree(page);
    if (limbs == nullptr || limbs->selectedItems().isEmpty())
        return std::string();
    return bytes(limbs->selectedItems().first()->text(0));
}

void clickLimb(QWidget* page, const std::string& name, bool twice) {
    clickItem(tree(page), fromBytes(name), twice);
}

std::string openLimbs(QWidget* page) {
    QTreeWidget* limbs = tree(page);
    std::string open;
    if (limbs == nullptr)
        return open;
    for (QTreeWidgetItem* item : limbs->findItems("*", Qt::MatchWildcard | Qt::MatchRecursive))
        open += item->isExpanded() ? bytes(item->text(0)) + " " : "";
    return open;
}

std::string messageText(QWidget* box) {
    auto* message = qobject_cast<QMessageBox*>(box);
    return message != nullptr ? bytes(message->text()) : std::string();
}

void acceptMessage(QWidget* box) {
    auto* message = qobject_cast<QMessageBox*>(box);
    if (message != nullptr)
        click(message->button(QMessageBox::Ok));
}

std::string caption(QWidget* window) {
    return bytes(window->windowTitle());
}

std::vector<std::string> fileFilters(QWidget* fileDialog) {
    std::vector<std::string> filters;
    auto* dialog = qobject_cast<QFileDialog*>(fileDialog);
    EXPECT_NE(dialog, nullptr) << "not a file dialog";
    if (dialog != nullptr)
        for (const QString& filter : dialog->nameFilters())
            filters.push_back(bytes(filter));
    return filters;
}

bool anyWindowShown() {
    for (QWidget* window : QApplication::topLevelWidgets())
        if (window->isVisible())
            return true;
    return false;
}

std::string savePicture(QWidget* window, const std::string& folder, const std::string& name) {
    std::string path = folder + "/" + name + ".png";
    return window->grab().save(QString::fromStdString(path), "PNG") ? path : std::string();
}

int runWindowTests(int argc, char** argv) {
    qInstallMessageHandler(quietMessages);
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    ::testing::InitGoogleTest(&argc, argv);
    return RUN_ALL_TESTS();
}

}  // namespace ui_test
