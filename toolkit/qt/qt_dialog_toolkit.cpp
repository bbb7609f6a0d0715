// The dialog toolkit over Qt Widgets: windows built from dialog templates, a tabbed property
// sheet, file dialogs and message boxes. Built as a library of its own that the module loads the
// first time a dialog opens.
//
// Other programs drive these windows as a user would, so what they can see is kept fixed: every
// control with an id is a widget whose objectName is that id in decimal; edits are QLineEdits,
// buttons QAbstractButtons, the tree view a QTreeWidget; the sheet is a QDialog holding a
// QTabWidget, with QPushButtons "1" (OK), "2" (Cancel) and "12321" (Apply); file dialogs are
// Qt's own QFileDialog. Every handler finishes its work before control returns to the event loop.
#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QDialog>
#include <QDialogButtonBox>
#include <QFile>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGroupBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTabWidget>
#include <QThread>
#include <QToolButton>
#include <QTreeWidget>
#include <QVBoxLayout>
#include <clocale>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "toolkit/dialog_toolkit.h"
#include "toolkit/file_filter.h"

namespace {

using namespace toolkit;

QString fromBytes(const char* text) {
    return QString::fromLatin1(text != nullptr ? text : "");
}

// Dialog units to pixels, from the average character size of the template's font, the way the
// Windows dialog manager measures: a quarter of the average width, an eighth of the height.
struct DialogUnits {
    explicit DialogUnits(const QFont& font) {
        QFontMetrics metrics(font);
        int width = metrics.horizontalAdvance(
            QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"));
        baseX = (width / 26 + 1) / 2;
        baseY = metrics.height();
    }
    int x(int units) const { return (units * baseX + 2) / 4; }
    int y(int units) const { return (units * baseY + 4) / 8; }
    QRect rect(const ControlTemplate& c) const {
        return QRect(x(c.x), y(c.y), x(c.width), y(c.height));
    }
    int baseX;
    int baseY;
};

QFont templateFont(const DialogTemplate& layout) {
    QFont font(fromBytes(layout.fontName));
    if (layout.fontPoints > 0)
        font.setPointSize(layout.fontPoints);
    return font;
}

// An up-down control: two arrow buttons that step the number in the edit it is attached to,
// within its range, Up towards the high end.
class UpDown : public QWidget {
  public:
    UpDown(QWidget* parent, QLineEdit* buddy) : QWidget(parent), buddy_(buddy) {
        auto* layout = new QVBoxLayout(this);
        layout->setContentsMargins(0, 0, 0, 0);
        layout->setSpacing(0);
        for (int direction : {1, -1}) {
            auto* arrow = new QToolButton(this);
            arrow->setArrowType(direction > 0 ? Qt::UpArrow : Qt::DownArrow);
            arrow->setAutoRepeat(true);
            arrow->setFocusPolicy(Qt::NoFocus);
            arrow->setSizePolicy(QSizePolicy::Ignored, QSizePolicy::Ignored);
            layout->addWidget(arrow);
            QObject::connect(arrow, &QToolButton::clicked, this,
                             [this, direction] { step(direction); });
        }
    }
    void setRange(int low, int high) {
        low_ = low;
        high_ = high;
    }
    // Moves the number one step; a text that holds no number counts as the last number set.
    void step(int direction) {
        if (buddy_ == nullptr)
            return;
        bool ok = false;
        int value = buddy_->text().trimmed().toInt(&ok);
        if (ok)
            position_ = value;
        int next = position_ + direction;
        if (next < low_)
            next = low_;
        if (next > high_)
            next = high_;
        position_ = next;
        QString text = QString::number(next);
        if (buddy_->text() != text)
            buddy_->setText(text);
    }

  private:
    QLineEdit* buddy_;
    int low_ = 0;
    int high_ = 100;
    int position_ = 0;
};

// Steps an up-down control with the Up and Down keys of its edit.
class ArrowKeys : public QObject {
  public:
    ArrowKeys(QObject* parent, UpDown* upDown) : QObject(parent), upDown_(upDown) {}
    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() == QEvent::KeyPress) {
            int key = static_cast<QKeyEvent*>(event)->key();
            if (key == Qt::Key_Up || key == Qt::Key_Down) {
                upDown_->step(key == Qt::Key_Up ? 1 : -1);
                return true;
            }
        }
        return QObject::eventFilter(watched, event);
    }

  private:
    UpDown* upDown_;
};

QWidget* topWindow(QWidget* widget) {
    return widget != nullptr ? widget->window() : nullptr;
}

void showMessage(QWidget* parent, const QString& text, const QString& caption, uint32_t style) {
    QMessageBox box(style == kMessageInformation ? QMessageBox::Information : QMessageBox::Warning,
                    caption, text, QMessageBox::Ok, parent);
    box.exec();
}

// The controls of one dialog or page, made from its template inside surface.
class TemplateWindow final : public Window {
  public:
    TemplateWindow(const DialogTemplate& layout, Handler& handler, QWidget* surface)
        : handler_(handler), surface_(surface) {
        surface->setFont(templateFont(layout));
        DialogUnits units(surface->font());
        surface->setFixedSize(units.x(layout.width), units.y(layout.height));
        QLineEdit* lastEdit = nullptr;
        for (size_t i = 0; i < layout.controlCount; ++i) {
            const ControlTemplate& c = layout.controls[i];
            QWidget* widget = makeControl(c, lastEdit);
            if (widget == nullptr)
                continue;
            if (c.id != kNoId) {
                widget->setObjectName(QString::number(c.id));
                controls_[c.id] = widget;
            }
            widget->setGeometry(units.rect(c));
            if (c.style & kDisabled)
                widget->setEnabled(false);
            if (c.style & kHidden)
                widget->hide();
            if (c.kind == kGroupBox)
                widget->lower();
            if (auto* edit = qobject_cast<QLineEdit*>(widget))
                lastEdit = edit;
        }
    }

    QWidget* surface() const { return surface_; }

    const char* text(int id) override {
        buffer_.clear();
        if (auto* edit = control<QLineEdit>(id))
            buffer_ = edit->text().toLatin1();
        else if (auto* button = control<QAbstractButton>(id))
            buffer_ = button->text().toLatin1();
        else if (auto* label = control<QLabel>(id))
            buffer_ = label->text().toLatin1();
        return buffer_.constData();
    }
    void setText(int id, const char* text) override {
        QString value = fromBytes(text);
        if (auto* edit = control<QLineEdit>(id)) {
            // The start of a long text is shown, as a Windows edit control shows it.
            if (edit->text() != value) {
                edit->setText(value);
                edit->setCursorPosition(0);
            }
        } else if (auto* button = control<QAbstractButton>(id)) {
            button->setText(value);
        } else if (auto* label = control<QLabel>(id)) {
            label->setText(value);
        }
    }
    int isChecked(int id) override {
        auto* button = control<QAbstractButton>(id);
        return button != nullptr && button->isChecked() ? 1 : 0;
    }
    void setChecked(int id, int checked) override {
        auto* button = control<QAbstractButton>(id);
        if (button == nullptr)
            return;
        // An exclusive radio button cannot be cleared directly.
        bool exclusive = button->autoExclusive();
        button->setAutoExclusive(false);
        button->setChecked(checked != 0);
        button->setAutoExclusive(exclusive);
    }
    void setEnabled(int id, int enabled) override {
        if (QWidget* widget = control<QWidget>(id))
            widget->setEnabled(enabled != 0);
    }
    void focus(int id) override {
        QWidget* widget = control<QWidget>(id);
        if (widget == nullptr)
            return;
        widget->setFocus(Qt::OtherFocusReason);
        if (auto* edit = qobject_cast<QLineEdit*>(widget))
            edit->selectAll();
    }
    void setRange(int id, int low, int high) override {
        if (auto* upDown = dynamic_cast<UpDown*>(control<QWidget>(id)))
            upDown->setRange(low, high);
    }
    void setTextLimit(int id, int maxChars) override {
        // QLineEdit's own default stands for no limit.
        constexpr int kNoLimit = 32767;
        if (auto* edit = control<QLineEdit>(id))
            edit->setMaxLength(maxChars > 0 ? maxChars : kNoLimit);
    }
    void clearTree(int id) override {
        if (auto* tree = control<QTreeWidget>(id))
            tree->clear();
    }
    TreeItem insertItem(int id, TreeItem parent, const char* text, void* data) override {
        auto* tree = control<QTreeWidget>(id);
        if (tree == nullptr)
            return kNoItem;
        QTreeWidgetItem* item =
            parent == kNoItem ? new QTreeWidgetItem(tree)
                              : new QTreeWidgetItem(reinterpret_cast<QTreeWidgetItem*>(parent));
        item->setText(0, fromBytes(text));
        item->setData(0, Qt::UserRole, QVariant::fromValue(reinterpret_cast<quintptr>(data)));
        // Items come only from a rebuild of the list, after which nothing is selected.
        tree->setCurrentItem(nullptr);
        tree->clearSelection();
        return reinterpret_cast<TreeItem>(item);
    }
    void* selectedItemData(int id) override {
        auto* tree = control<QTreeWidget>(id);
        if (tree == nullptr)
            return nullptr;
        QList<QTreeWidgetItem*> selected = tree->selectedItems();
        if (selected.isEmpty())
            return nullptr;
        return reinterpret_cast<void*>(selected.first()->data(0, Qt::UserRole).value<quintptr>());
    }
    int isExpanded(int id, TreeItem item) override {
        if (control<QTreeWidget>(id) == nullptr || item == kNoItem)
            return 0;
        return reinterpret_cast<QTreeWidgetItem*>(item)->isExpanded() ? 1 : 0;
    }
    void setExpanded(int id, TreeItem item, int expanded) override {
        if (control<QTreeWidget>(id) != nullptr && item != kNoItem)
            reinterpret_cast<QTreeWidgetItem*>(item)->setExpanded(expanded != 0);
    }
    void messageBox(const char* text, uint32_t style) override {
        QWidget* top = topWindow(surface_);
        showMessage(top, fromBytes(text), top != nullptr ? top->windowTitle() : QString(), style);
    }
    void end(int result) override {
        if (auto* dialog = qobject_cast<QDialog*>(surface_))
            dialog->done(result);
    }
    void setReadOnly(int id, int readOnly) override {
        if (auto* edit = control<QLineEdit>(id))
            edit->setReadOnly(readOnly != 0);
    }

  private:
    template <typename T>
    T* control(int id) {
        auto found = controls_.find(id);
        return found == controls_.end() ? nullptr : qobject_cast<T*>(found->second);
    }

    QWidget* makeControl(const ControlTemplate& c, QLineEdit* lastEdit) {
        QString caption = fromBytes(c.caption);
        int id = c.id;
        switch (c.kind) {
            case kLabel:
                return new QLabel(caption, surface_);
            case kGroupBox:
                return new QGroupBox(caption, surface_);
            case kEdit: {
                auto* edit = new QLineEdit(surface_);
                edit->setReadOnly((c.style & kReadOnly) != 0);
                edit->setFrame((c.style & kNoBorder) == 0);
                QObject::connect(edit, &QLineEdit::textChanged, edit,
                                 [this, id] { handler_.command(id, kChanged); });
                return edit;
            }
            case kPushButton: {
                auto* button = new QPushButton(caption, surface_);
                if (c.style & kDefaultButton)
                    button->setDefault(true);
                QObject::connect(button, &QPushButton::clicked, button,
                                 [this, id] { handler_.command(id, kClicked); });
                return button;
            }
            case kRadioButton:
            case kCheckBox: {
                QAbstractButton* button =
                    c.kind == kRadioButton
                        ? static_cast<QAbstractButton*>(new QRadioButton(caption, surface_))
                        : new QCheckBox(caption, surface_);
                QObject::connect(button, &QAbstractButton::clicked, button,
                                 [this, id] { handler_.command(id, kClicked); });
                return button;
            }
            case kTreeView: {
                auto* tree = new QTreeWidget(surface_);
                tree->setHeaderHidden(true);
                tree->setColumnCount(1);
                tree->setSelectionMode(QAbstractItemView::SingleSelection);
                tree->setRootIsDecorated((c.style & kTreeLinesAtRoot) != 0);
                QObject::connect(tree, &QTreeWidget::itemDoubleClicked, tree,
                                 [this, id] { handler_.command(id, kDoubleClicked); });
                return tree;
            }
            case kUpDown: {
                auto* upDown = new UpDown(surface_, lastEdit);
                if (lastEdit != nullptr && (c.style & kUpDownArrowKeys))
                    lastEdit->installEventFilter(new ArrowKeys(upDown, upDown));
                return upDown;
            }
        }
        return nullptr;
    }

    Handler& handler_;
    QWidget* surface_;
    std::map<int, QWidget*> controls_;
    QByteArray buffer_;
};

// A modal dialog: OK (Enter) and Cancel (Escape, the close button) go to the handler, which
// ends the dialog when it agrees.
class ModalDialog : public QDialog {
  public:
    explicit ModalDialog(Handler& handler) : handler_(handler) {}
    void reject() override { handler_.command(kIdCancel, kClicked); }

  private:
    Handler& handler_;
};

// The property sheet: leaving a page asks the page first; OK asks the page shown.
class Sheet : public QDialog {
  public:
    Sheet(const char* caption, const SheetPage* pages, size_t count) {
        setWindowTitle(fromBytes(caption));
        auto* layout = new QVBoxLayout(this);
        layout->setSizeConstraint(QLayout::SetFixedSize);
        tabs_ = new QTabWidget(this);
        layout->addWidget(tabs_);
        QFont font = count > 0 ? templateFont(*pages[0].layout) : QFont();
        setFont(font);
        for (size_t i = 0; i < count; ++i) {
            auto* surface = new QWidget;
            surface->setObjectName(fromBytes(pages[i].layout->caption));
            windows_.push_back(
                std::make_unique<TemplateWindow>(*pages[i].layout, *pages[i].handler, surface));
            handlers_.push_back(pages[i].handler);
            initialised_.push_back(false);
            tabs_->addTab(surface, fromBytes(pages[i].layout->caption));
        }
        // OK, Cancel and Apply in that order whatever the desktop's habit, as in the sheets of
        // the system the dialog layouts come from.
        DialogUnits units(font);
        auto* buttons = new QDialogButtonBox(this);
        buttons->setStyleSheet(QStringLiteral("QDialogButtonBox { button-layout: %1; }")
                                   .arg(static_cast<int>(QDialogButtonBox::WinLayout)));
        const struct {
            const char* name;
            const char* caption;
            QDialogButtonBox::ButtonRole role;
        } kButtons[] = {{"1", "OK", QDialogButtonBox::AcceptRole},
                        {"2", "Cancel", QDialogButtonBox::RejectRole},
                        {"12321", "&Apply", QDialogButtonBox::ApplyRole}};
        for (const auto& spec : kButtons) {
            QPushButton* button = buttons->addButton(QString::fromLatin1(spec.caption), spec.role);
            button->setObjectName(QString::fromLatin1(spec.name));
            button->setFixedSize(units.x(50), units.y(14));
        }
        QPushButton* okButton = buttons->findChild<QPushButton*>(QStringLiteral("1"));
        okButton->setDefault(true);
        // No page ever reports a pending change.
        buttons->findChild<QPushButton*>(QStringLiteral("12321"))->setEnabled(false);
        connect(buttons, &QDialogButtonBox::accepted, this, [this] { ok(); });
        connect(buttons, &QDialogButtonBox::rejected, this, [this] { done(kIdCancel); });
        layout->addWidget(buttons);
        connect(tabs_, &QTabWidget::currentChanged, this, [this](int index) { changePage(index); });
        if (count > 0)
            activate(0);
    }
    void reject() override { done(kIdCancel); }

  private:
    void activate(int index) {
        active_ = index;
        if (!initialised_[index]) {
            initialised_[index] = true;
            handlers_[index]->initialise(*windows_[index]);
        } else {
            handlers_[index]->enter();
        }
    }
    // The page is asked before it is left, while it is still shown: a field it cannot read keeps
    // it, with the focus on that field.
    void changePage(int index) {
        if (switching_ || index == active_ || index < 0)
            return;
        switching_ = true;
        tabs_->setCurrentIndex(active_);
        bool leave = handlers_[active_]->leave() != 0;
        if (leave)
            tabs_->setCurrentIndex(index);
        switching_ = false;
        if (leave)
            activate(index);
    }
    void ok() {
        if (active_ >= 0 && handlers_[active_]->leave() == 0)
            return;
        done(kIdOk);
    }

    QTabWidget* tabs_;
    std::vector<std::unique_ptr<TemplateWindow>>
        windows_;  // the pages' controls; Qt owns the widgets
    std::vector<Handler*> handlers_;
    std::vector<bool> initialised_;
    int active_ = -1;
    bool switching_ = false;
};

// The filter strings' "description|pattern|...||" as Qt's name filters, in order.
QStringList nameFilters(const char* filter) {
    QStringList filters;
    for (const FileFilter& each : parseFileFilters(filter))
        filters << fromBytes(nameFilter(each).c_str());
    return filters;
}

class QtToolkit : public Toolkit {
  public:
    int runDialog(const DialogTemplate& layout, Handler& handler) override {
        ModalDialog dialog(handler);
        dialog.setWindowTitle(fromBytes(layout.caption));
        dialog.setWindowFlags(Qt::Dialog | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                              Qt::WindowCloseButtonHint);
        TemplateWindow window(layout, handler, &dialog);
        handler.initialise(window);
        return dialog.exec();
    }
    int runSheet(const char* caption, const SheetPage* pages, size_t count) override {
        Sheet sheet(caption, pages, count);
        return sheet.exec();
    }
    void messageBox(const char* text, const char* caption, uint32_t style) override {
        showMessage(QApplication::activeModalWidget(), fromBytes(text), fromBytes(caption), style);
    }
    int chooseFile(const FileRequest& request, FileAnswer* answer) override {
        QFileDialog dialog(QApplication::activeModalWidget(), fromBytes(request.title));
        dialog.setOption(QFileDialog::DontUseNativeDialog, true);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        QStringList filters = nameFilters(request.filter);
        dialog.setNameFilters(filters);
        if (dialog.exec() != QDialog::Accepted)
            return 0;
        QStringList files = dialog.selectedFiles();
        if (files.isEmpty())
            return 0;
        QByteArray path = QFile::encodeName(files.first());
        if (path.size() >= kPathSize)
            return 0;
        std::memcpy(answer->path, path.constData(), static_cast<size_t>(path.size()) + 1);
        int index = static_cast<int>(filters.indexOf(dialog.selectedNameFilter()));
        answer->filterIndex = index < 0 ? 1 : index + 1;
        return 1;
    }
};

// Why windows cannot be shown in this process; null when they can. Makes the application object
// when the host has none.
const char* startApplication() {
    QCoreApplication* running = QCoreApplication::instance();
    if (running != nullptr) {
        if (qobject_cast<QApplication*>(running) == nullptr)
            return "the program runs Qt without widgets";
        if (running->thread() != QThread::currentThread())
            return "dialogs must open on the thread that runs the program's Qt application";
        return nullptr;
    }
#if !defined(_WIN32) && !defined(__APPLE__)
    auto unset = [](const char* name) {
        const char* value = std::getenv(name);
        return value == nullptr || *value == '\0';
    };
    if (unset("QT_QPA_PLATFORM") && unset("DISPLAY") && unset("WAYLAND_DISPLAY"))
        return "there is no display to show windows on (DISPLAY is not set)";
#endif
    // Made once and kept for the life of the process. Qt sets the C library's locale from the
    // environment; the host's own is put back so that numbers keep their form everywhere else.
    static int argc = 1;
    static char name[] = "figure";
    static char* argv[] = {name, nullptr};
    const char* current = std::setlocale(LC_ALL, nullptr);
    std::string locale = current != nullptr ? current : "C";
    static QApplication* application = new QApplication(argc, argv);
    std::setlocale(LC_ALL, locale.c_str());
    (void)application;
    return nullptr;
}

}  // namespace

extern "C" __attribute__((visibility("default"))) Toolkit* figureDialogToolkit(
    int version, const char** reason) {
    if (version != kInterfaceVersion) {
        if (reason != nullptr)
            *reason = "it was built for another version of the module";
        return nullptr;
    }
    const char* problem = startApplication();
    if (problem != nullptr) {
        if (reason != nullptr)
            *reason = problem;
        return nullptr;
    }
    static QtToolkit toolkit;
    return &toolkit;
}
