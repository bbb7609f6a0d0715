// The object list's lines and the selected object's status line.
#include "host/app/window/object_list.h"

#include <QtCore/QSignalBlocker>
#include <QtCore/QStringList>
#include <QtWidgets/QLabel>
#include <QtWidgets/QListWidget>
#include <utility>
#include <vector>

#include "host/app/core/figure_summary.h"
#include "model/figure_data.h"

namespace fighost {

ObjectList::ObjectList(QObject* parent, const ModuleSession* session, Changed changed,
                       std::function<void()> selected)
    : QObject(parent), session_(session), changed_(std::move(changed)) {
    list_ = new QListWidget;
    list_->setObjectName(QStringLiteral("objects"));
    status_ = new QLabel;
    status_->setObjectName(QStringLiteral("objectStatus"));
    connect(list_, &QListWidget::currentRowChanged, this, std::move(selected));
}

int ObjectList::selected() const {
    QListWidgetItem* item = list_->currentItem();
    return item != nullptr ? item->data(Qt::UserRole).toInt() : host::kNoObject;
}

void ObjectList::select(int handle) {
    for (int row = 0; row < list_->count(); ++row)
        if (list_->item(row)->data(Qt::UserRole).toInt() == handle)
            list_->setCurrentRow(row);
}

bool ObjectList::empty() const {
    return list_->count() == 0;
}

bool ObjectList::update() {
    std::vector<std::pair<int, QString>> live;
    for (const standin::SceneObject& object : standin::scene().objects) {
        if (session_->deleted(object.handle))
            continue;
        QString text = QString::fromStdString(object.name.empty() ? "(unnamed)" : object.name);
        if (changed_(object.handle))
            text += QStringLiteral(" *");
        if (!object.boundLabel.empty())
            text += QStringLiteral("  —  ") + QString::fromStdString(object.boundLabel);
        live.emplace_back(object.handle, text);
    }
    bool same = static_cast<int>(live.size()) == list_->count();
    for (size_t i = 0; same && i < live.size(); ++i) {
        QListWidgetItem* item = list_->item(static_cast<int>(i));
        same = item->data(Qt::UserRole).toInt() == live[i].first && item->text() == live[i].second;
    }
    if (same)
        return false;
    int before = selected();
    {
        const QSignalBlocker quiet(list_);
        list_->clear();
        for (const auto& entry : live) {
            auto* item = new QListWidgetItem(entry.second, list_);
            item->setData(Qt::UserRole, entry.first);
        }
    }
    if (before != host::kNoObject)
        select(before);
    if (list_->currentRow() < 0 && list_->count() > 0)
        list_->setCurrentRow(list_->count() - 1);
    return true;
}

void ObjectList::describe(const FileFacts* facts) {
    int handle = selected();
    const standin::SceneObject* object = standin::object(handle);
    const FigureData* figure = handle != host::kNoObject ? session_->figure(handle) : nullptr;
    if (object == nullptr) {
        described_ = QStringLiteral("No object selected");
        return;
    }
    described_ = QString::fromStdString(object->name);
    if (figure == nullptr)
        return;
    FigureSummary summary = summarizeFigure(*figure, object->name, std::string());
    const size_t limbs = summary.limbs.size();
    described_ += QStringLiteral("  ·  %1 %2, %3 channels, %4 frames")
                      .arg(limbs)
                      .arg(limbs == 1 ? QStringLiteral("limb") : QStringLiteral("limbs"))
                      .arg(summary.channelCount)
                      .arg(summary.frameCount);
    if (facts != nullptr) {
        QStringList kept =
            QString::fromStdString(keptText(*facts, summary.frameCount, summary.channelCount))
                .split(QLatin1Char('\n'), Qt::SkipEmptyParts);
        if (!kept.isEmpty())
            described_ += QStringLiteral("  ·  ") + kept.join(QStringLiteral(", "));
    }
}

void ObjectList::showFrame(int frame) {
    QString text = described_;
    if (selected() != host::kNoObject)
        text += frame > 0 ? QStringLiteral("  ·  frame %1").arg(frame)
                          : QStringLiteral("  ·  rest pose");
    status_->setText(text);
}

}  // namespace fighost
