#include "ui/dialogs/CPatternDlg.h"

#include "ui/dialogs/CellValuePicker.h"
#include "ui/dialogs/PatternPreview.h"
#include "ui/dialogs/TempoBox.h"

#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QSpinBox>
#include <limits>

namespace tevra {

namespace {

// The gap spin's lowest value stands for "no gap given".
constexpr int kAutomaticGap = -1;

QSpinBox* spinBox(const QString& name, int minimum, int maximum, int value) {
    auto* spin = new QSpinBox;
    spin->setObjectName(name);
    spin->setRange(minimum, maximum);
    spin->setValue(value);
    return spin;
}

} // namespace

CPatternDlg::CPatternDlg(const ProgramImage& program, const CellRange& range, QWidget* parent)
    : QDialog(parent), m_form(program, range) {
    setWindowTitle(QString::fromUtf8(kPatternDialogTitle));
    buildWidgets();
    m_tempo->takeTapKey(*this);
    onChanged();
    m_apply->setFocus();
}

void CPatternDlg::buildWidgets() {
    const PatternChoices& start = m_form.choices();
    const int channels = m_form.range().channelCount();
    m_pattern = new QComboBox;
    m_pattern->setObjectName(QStringLiteral("patternCombo"));
    for (const PatternName& entry : kPatternNames) {
        m_pattern->addItem(QString::fromUtf8(entry.name) + QStringLiteral(": ") +
                           QString::fromUtf8(entry.description));
    }
    m_width = spinBox(QStringLiteral("widthSpin"), 1, channels, start.width);
    m_gap = spinBox(QStringLiteral("gapSpin"), kAutomaticGap, kChannelCount, kAutomaticGap);
    m_gap->setSpecialValueText(QStringLiteral("авто"));
    m_density = spinBox(QStringLiteral("densitySpin"), 0, kMaxDensity, start.density);
    m_seed = spinBox(QStringLiteral("seedSpin"), 0, std::numeric_limits<int>::max(),
                     static_cast<int>(start.seed));
    m_on = new CellValuePicker(start.on, false);
    m_on->setObjectName(QStringLiteral("onPicker"));
    m_off = new CellValuePicker(start.off, true);
    m_off->setObjectName(QStringLiteral("offPicker"));
    m_background = new QCheckBox(QStringLiteral("Только в выключенные ячейки (фон)"));
    m_background->setObjectName(QStringLiteral("backgroundCheck"));
    m_order = new QComboBox;
    m_order->setObjectName(QStringLiteral("orderCombo"));
    m_order->addItems({QStringLiteral("как выделено"), QStringLiteral("обратный")});
    m_tempo = new TempoBox(m_form.tempo());
    m_tempoGroup = new QGroupBox(QStringLiteral("Время шагов по темпу"));
    m_tempoGroup->setObjectName(QStringLiteral("tempoGroup"));
    m_tempoGroup->setCheckable(true);
    m_tempoGroup->setChecked(false);
    (new QVBoxLayout(m_tempoGroup))->addWidget(m_tempo);
    m_preview = new PatternPreview(m_form);
    m_preview->setObjectName(QStringLiteral("preview"));
    m_refusal = new QLabel;
    m_refusal->setObjectName(QStringLiteral("refusalLabel"));
    m_refusal->setWordWrap(true);
    m_apply = new QPushButton(QString::fromUtf8(kApplyButtonText));
    m_apply->setObjectName(QStringLiteral("applyButton"));
    m_apply->setDefault(true);
    auto* cancel = new QPushButton(QStringLiteral("Отмена"));

    auto* fields = new QFormLayout;
    fields->addRow(QStringLiteral("Узор"), m_pattern);
    fields->addRow(QStringLiteral("Ширина"), m_width);
    fields->addRow(QStringLiteral("Промежуток"), m_gap);
    fields->addRow(QStringLiteral("Плотность, %"), m_density);
    fields->addRow(QStringLiteral("Зерно"), m_seed);
    fields->addRow(QStringLiteral("Горящие ячейки"), m_on);
    fields->addRow(QStringLiteral("Остальные ячейки"), m_off);
    fields->addRow(QString(), m_background);
    fields->addRow(QStringLiteral("Порядок каналов"), m_order);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_apply);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addWidget(m_tempoGroup);
    layout->addWidget(m_preview);
    layout->addWidget(m_refusal);
    layout->addLayout(buttons);

    for (QSpinBox* spin : {m_width, m_gap, m_density, m_seed}) {
        connect(spin, &QSpinBox::valueChanged, this, &CPatternDlg::onChanged);
    }
    for (QComboBox* combo : {m_pattern, m_order}) {
        connect(combo, &QComboBox::currentIndexChanged, this, &CPatternDlg::onChanged);
    }
    connect(m_on, &CellValuePicker::changed, this, &CPatternDlg::onChanged);
    connect(m_off, &CellValuePicker::changed, this, &CPatternDlg::onChanged);
    connect(m_background, &QCheckBox::toggled, this, &CPatternDlg::onChanged);
    connect(m_tempoGroup, &QGroupBox::toggled, this, &CPatternDlg::onChanged);
    // A tap means the tempo is wanted.
    connect(m_tempo, &TempoBox::tapped, this, [this] { m_tempoGroup->setChecked(true); });
    connect(m_tempo, &TempoBox::changed, this, &CPatternDlg::onChanged);
    connect(m_apply, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
}

void CPatternDlg::onChanged() {
    PatternChoices choices;
    choices.pattern = static_cast<PatternKind>(m_pattern->currentIndex());
    choices.width = m_width->value();
    if (m_gap->value() != kAutomaticGap) {
        choices.gap = m_gap->value();
    }
    choices.density = m_density->value();
    choices.seed = static_cast<std::uint64_t>(m_seed->value());
    choices.on = m_on->choice();
    choices.off = m_off->choice();
    choices.background = m_background->isChecked();
    choices.reversed = m_order->currentIndex() == 1;
    choices.useTempo = m_tempoGroup->isChecked();
    m_form.choose(choices);
    m_refusal->setText(QString::fromStdString(m_form.refusal().value_or(std::string())));
    m_apply->setEnabled(!m_form.refusal());
    m_preview->update();
}

} // namespace tevra
