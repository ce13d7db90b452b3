#pragma once

#include "model/CellRange.h"
#include "ui/dialogs/TempoForm.h"

#include <QDialog>

class QLabel;
class QPushButton;

namespace tevra {

class TempoBox;

// "Время по темпу": the times of the selected steps from a tempo typed or tapped. The caller
// writes tempo() over the range after Accepted, as one undo entry.
class CTempoDlg : public QDialog {
    Q_OBJECT

public:
    CTempoDlg(const CellRange& range, QWidget* parent = nullptr);

    std::optional<StepTempo> tempo() const { return m_form.tempo(); }
    // "время по темпу 128 BPM"
    std::string editName() const;

private:
    void onChanged();

    CellRange m_range;
    TempoForm m_form;
    TempoBox* m_tempo = nullptr;
    QLabel* m_times = nullptr;
    QPushButton* m_apply = nullptr;
};

} // namespace tevra
