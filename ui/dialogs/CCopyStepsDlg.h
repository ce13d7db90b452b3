#pragma once

#include "model/EditorModel.h"
#include "ui/dialogs/CopyStepsForm.h"
#include "ui/dialogs/RangeEditBinding.h"

#include <QDialog>

namespace Ui {
class CCopyStepsDlg;
}

namespace tevra {

// "Копирование шагов": asks for a source and a destination step range. All rules live in
// CopyStepsForm; this window forwards text changes and shows the form's texts and carets.
class CCopyStepsDlg : public QDialog {
    Q_OBJECT

public:
    explicit CCopyStepsDlg(QWidget* parent = nullptr);
    ~CCopyStepsDlg() override;

    // Call before exec(); the edits show these numbers.
    void setRange(const tevra::CopyRange& range);
    // Valid after exec() returned Accepted; after Cancel it is the range that was set.
    tevra::CopyRange range() const;

protected:
    void showEvent(QShowEvent* event) override;

private:
    using Binding = RangeEditBinding<CopyStepsForm>;

    Ui::CCopyStepsDlg* m_ui;
    CopyStepsForm m_form;
    Binding m_binding{m_form};
    CopyRange m_setRange;
    // The edits get their first numbers when the dialog first shows.
    bool m_started = false;
};

} // namespace tevra
