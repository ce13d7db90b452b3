#pragma once

#include "model/EditorModel.h"
#include "ui/dialogs/RangeEditBinding.h"
#include "ui/dialogs/StepTimesForm.h"

#include <QDialog>

namespace Ui {
class CStepTimesDlg;
}

namespace tevra {

// "Время шагов": a step range and one time for all of it. All rules live in StepTimesForm;
// this window forwards text changes and the slider and shows the form's result.
class CStepTimesDlg : public QDialog {
    Q_OBJECT

public:
    explicit CStepTimesDlg(QWidget* parent = nullptr);
    ~CStepTimesDlg() override;

    // Call before exec(); the edits and the slider show these numbers.
    void setRange(const tevra::StepTimesRange& range);
    // Valid after exec() returned Accepted; after Cancel it is the range that was set.
    tevra::StepTimesRange range() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    void onSliderMoved(int position);

    Ui::CStepTimesDlg* m_ui;
    StepTimesForm m_form;
    RangeEditBinding<StepTimesForm> m_binding{m_form};
    StepTimesRange m_setRange;
    // The edits get their first numbers when the dialog first shows.
    bool m_started = false;
};

} // namespace tevra
