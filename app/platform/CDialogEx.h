#pragma once

#include "DialogTemplate.h"
#include "DialogUnits.h"

#include <QDialog>
#include <map>

namespace rowstone::ui {

// A dialog built from one of the program's templates: its controls are
// created from the template's data, placed in dialog units of the
// template's font, and found again by their numeric id. Also keeps the
// window's timers by id. A page embedded in another window is created with
// Create(parent); a dialog of its own is run with DoModal().
class CDialogEx : public QDialog {
public:
    explicit CDialogEx(int templateId, QWidget* parent = nullptr);

    // Builds the controls as a child page of parent and runs OnInitDialog.
    bool Create(QWidget* parent);
    // Builds the controls, runs OnInitDialog and shows the dialog modally;
    // returns what EndDialog was given.
    int DoModal();
    void EndDialog(int result) { done(result); }
    // Called during OnInitDialog: DoModal then returns result at once,
    // without the dialog ever taking input.
    void EndBeforeShowing(int result) {
        endedBeforeShowing = true;
        earlyResult = result;
    }

    QWidget* GetDlgItem(int id) const;
    template <typename T> T* Item(int id) const { return qobject_cast<T*>(GetDlgItem(id)); }
    // Puts replacement where the control with this id stands: it becomes a
    // child of the dialog with the control's rectangle, visibility and id, and
    // the control itself is destroyed. The dialog does not take ownership of
    // replacement. False, and nothing changes, when there is no such control.
    bool ReplaceDlgItem(int id, QWidget* replacement);

    // Window timers: setting an id that runs already restarts it.
    void SetTimer(int id, int milliseconds);
    void KillTimer(int id);
    bool HasTimer(int id) const { return timers.count(id) != 0; }

    int TemplateId() const { return templateId; }
    DialogBaseUnits BaseUnits() const { return units; }

protected:
    virtual bool OnInitDialog() { return true; }
    virtual void OnTimer(int /*id*/) {}
    // Places the controls; runs whenever the dialog is shown or resized.
    virtual void OnLayout() {}
    // A control the dialog makes itself instead of the standard one for its
    // kind (for instance a drawing view over a frame), or nullptr.
    virtual QWidget* CreateControl(const ControlTemplate& /*control*/) { return nullptr; }

    void timerEvent(QTimerEvent* event) override;
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    bool BuildControls();
    QWidget* CreateStandardControl(const ControlTemplate& control);

    int templateId;
    const DialogTemplate* dialogTemplate = nullptr;
    DialogBaseUnits units;
    bool built = false;
    bool endedBeforeShowing = false;
    int earlyResult = Rejected;
    std::map<int, QWidget*> controls;
    std::map<int, int> timers;      // our id -> Qt timer id
    std::map<int, int> timerOwners; // Qt timer id -> our id
};

} // namespace rowstone::ui
