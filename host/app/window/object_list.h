// The window's list of scene objects and the status of the selected one: a line per live object
// (its name, " *" when its figure changed, the label it is bound to) and, in the status bar, the
// selected object's name, its figure's counts, what the module did not keep of its file and the
// frame it shows.
#pragma once

#include <QtCore/QObject>
#include <QtCore/QString>
#include <functional>

#include "host/app/core/file_facts.h"
#include "host/app/core/module_session.h"

class QLabel;
class QListWidget;

namespace fighost {

class ObjectList : public QObject {
  public:
    // Whether the object's figure changed since it was loaded or saved.
    using Changed = std::function<bool(int handle)>;

    // The list of session's live objects; selected runs when the person selects another.
    ObjectList(QObject* parent, const ModuleSession* session, Changed changed,
               std::function<void()> selected);

    QListWidget* list() const { return list_; }
    QLabel* statusLabel() const { return status_; }
    // The selected object; -1 when none.
    int selected() const;
    void select(int handle);
    bool empty() const;
    // Brings the lines up to date with the scene; when they changed, the one selected before
    // stays selected (else the last) and true is returned.
    bool update();
    // Counts the selected object's figure for the status; facts are what its file held (null
    // when it came from none).
    void describe(const FileFacts* facts);
    // Shows the status with the frame the selected object is at (0: its rest pose).
    void showFrame(int frame);

  private:
    const ModuleSession* session_;
    Changed changed_;
    QListWidget* list_;
    QLabel* status_;
    QString described_;  // the selected object and its counts
};

}  // namespace fighost
