// The time toolbar: its two views and the choice of a time step. The profile
// operations are in timetoolbarprofiles.cpp.

#include "timetoolbar.h"

#include "diagnostic.h"
#include "project.h"
#include "stepvalidator.h"

#include <QAction>
#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QPushButton>
#include <QSlider>
#include <QStackedLayout>
#include <QTimer>
#include <QToolButton>

#include <algorithm>

namespace {

Project* checkedProject(Project* project)
{
    if (!project)
        tFatal() << "TimeToolBar::TimeToolBar. Pointer to Project is not provided.";
    return project;
}

QString number(double value)
{
    return QString::number(value, 'g', 6);
}

} // namespace

TimeToolBar::TimeToolBar(Project* project, QWidget* parent)
    : QWidget(parent)
    , m_project(checkedProject(project))
{
    m_timer = new QTimer(this);
    m_timer->setSingleShot(true);

    m_menu = new QMenu(this);
    m_addProfile = m_menu->addAction(QIcon(QStringLiteral(":/images/bookmark.png")), QStringLiteral("Add Profile"));
    m_addProfile->setToolTip(tr("Save selected Time Step as a Profile"));
    m_closeProfile = m_menu->addAction(QIcon(QStringLiteral(":/images/cancel.png")), QStringLiteral("Close Profile"));
    m_closeProfile->setToolTip(tr("Close selected profile"));
    m_closeProfile->setVisible(false);
    m_menu->addSeparator();
    m_menu->setToolTipsVisible(true);
    connect(m_addProfile, &QAction::triggered, this, &TimeToolBar::addProfile);
    connect(m_closeProfile, &QAction::triggered, this, &TimeToolBar::closeProfile);

    m_stack = new QStackedLayout(this);
    m_stack->setContentsMargins(0, 0, 0, 0);
    m_stack->setSpacing(0);
    m_stack->addWidget(buildSliderView());
    m_stack->addWidget(buildProfileView());
    m_stack->setCurrentIndex(0);

    connect(m_project, &Project::outDataUpdated, this, &TimeToolBar::onOutDataUpdate);
    connect(m_project, &Project::profilesChanged, this, &TimeToolBar::onProfilesChanged);
    connect(m_slider, &QSlider::valueChanged, this, &TimeToolBar::onSliderChange);
    connect(m_stepField, &QLineEdit::editingFinished, this, &TimeToolBar::onManualEdit);
    connect(m_timer, &QTimer::timeout, this, &TimeToolBar::updateValue);

    updateProfileList();
}

// A focused step field loses its focus inside ~QWidget, after this object's
// own part is gone: its editingFinished must not reach onManualEdit then.
TimeToolBar::~TimeToolBar()
{
    disconnect(m_stepField, nullptr, this, nullptr);
}

QWidget* TimeToolBar::buildSliderView()
{
    auto* view = new QWidget(this);
    auto* row = new QHBoxLayout(view);
    row->setContentsMargins(0, 0, 0, 0);
    row->addWidget(new QLabel(QStringLiteral("0"), view));
    m_slider = new QSlider(Qt::Horizontal, view);
    m_slider->setRange(0, 0);
    m_slider->setFocusPolicy(Qt::WheelFocus);
    row->addWidget(m_slider);
    m_endTime = new QLabel(QStringLiteral("0 s"), view);
    row->addWidget(m_endTime);
    m_stepField = new QLineEdit(QStringLiteral("0"), view);
    m_stepField->setFixedWidth(40);
    m_stepField->setToolTip(tr("Time Step Number"));
    m_validator = new StepValidator(0, 0, m_stepField);
    m_stepField->setValidator(m_validator);
    row->addWidget(m_stepField);
    // The profile menu hangs on the profile view's button as well; here it
    // is how a first profile gets saved and a saved one opened.
    m_sliderMenuButton = new QToolButton(view);
    m_sliderMenuButton->setIcon(QIcon(QStringLiteral(":/images/bookmark.png")));
    m_sliderMenuButton->setToolTip(tr("Profiles"));
    m_sliderMenuButton->setAutoRaise(true);
    m_sliderMenuButton->setPopupMode(QToolButton::InstantPopup);
    m_sliderMenuButton->setMenu(m_menu);
    row->addWidget(m_sliderMenuButton);
    return view;
}

QPushButton* TimeToolBar::flatButton(const QString& icon, const QString& toolTip)
{
    auto* button = new QPushButton(QIcon(icon), QString(), this);
    button->setFlat(true);
    button->setFixedWidth(30);
    button->setToolTip(toolTip);
    return button;
}

QWidget* TimeToolBar::buildProfileView()
{
    auto* view = new QWidget(this);
    auto* row = new QHBoxLayout(view);
    row->setContentsMargins(0, 0, 0, 0);
    m_profileButton = new QPushButton(QIcon(QStringLiteral(":/images/bookmark.png")), QString(), view);
    m_profileButton->setFlat(true);
    m_profileButton->setSizePolicy(QSizePolicy::Minimum, QSizePolicy::Preferred);
    m_profileButton->setMenu(m_menu);
    row->addWidget(m_profileButton);
    row->addStretch();
    QPushButton* edit = flatButton(QStringLiteral(":/images/pen_32x32.png"), tr("Edit profile name"));
    QPushButton* remove = flatButton(QStringLiteral(":/images/edit-clear-32.png"), tr("Remove selected profile"));
    QPushButton* close = flatButton(QStringLiteral(":/images/cancel.png"), tr("Close profile"));
    for (QPushButton* button : {edit, remove, close}) {
        button->setParent(view);
        row->addWidget(button);
    }
    connect(edit, &QPushButton::clicked, this, &TimeToolBar::editProfile);
    connect(remove, &QPushButton::clicked, this, &TimeToolBar::delProfile);
    connect(close, &QPushButton::clicked, this, &TimeToolBar::closeProfile);
    return view;
}

int TimeToolBar::currentView() const
{
    return m_stack->currentIndex();
}

void TimeToolBar::setDelay(int milliseconds)
{
    m_delay = qMax(0, milliseconds);
}

int TimeToolBar::stepCount() const
{
    const OutputField* first = m_project->field(0);
    return first ? int(first->values.size()) : 0;
}

bool TimeToolBar::hasTimeField() const
{
    return m_project->timeColumn() >= 0;
}

double TimeToolBar::timeAt(int step) const
{
    const OutputField* time = m_project->field(m_project->timeColumn());
    if (!time || step < 0 || step >= time->values.size())
        return 0.0;
    return double(time->values.at(step));
}

void TimeToolBar::showStepTip(int step)
{
    if (hasTimeField())
        m_slider->setToolTip(QStringLiteral("t = %1 s\ni = %2").arg(number(timeAt(step))).arg(step));
    else
        m_slider->setToolTip(QStringLiteral("t = 0 s\ni = %1").arg(step));
}

int TimeToolBar::value()
{
    if (!hasData()) {
        clearData();
        return 0;
    }
    const int last = stepCount() - 1;
    if (m_slider->value() > last) {
        updateSlider();
        return last;
    }
    return m_slider->value();
}

void TimeToolBar::clearData()
{
    m_timer->stop();
    {
        // Quietly: the slider's own signal would come back here.
        const QSignalBlocker blocker(m_slider);
        m_slider->setMaximum(0);
        m_slider->setValue(0);
    }
    m_slider->setToolTip(QStringLiteral("no data"));
    m_endTime->setText(QStringLiteral("0 s"));
    m_stepField->setText(QStringLiteral("0"));
    m_validator->setTop(0);
    emit valueChanged(-1);
}

void TimeToolBar::onOutDataUpdate()
{
    if (!hasData()) {
        clearData();
        return;
    }
    const int last = stepCount() - 1;
    m_validator->setTop(last);
    updateSlider(false);
    m_endTime->setText(QStringLiteral("%1 s").arg(number(hasTimeField() ? timeAt(last) : 0.0)));
}

void TimeToolBar::updateSlider()
{
    updateSlider(false);
}

void TimeToolBar::updateSlider(bool setToLast)
{
    if (!hasData()) {
        clearData();
        return;
    }
    const int last = stepCount() - 1;
    if (m_slider->value() > last) {
        m_slider->setValue(last);
        showStepTip(last);
        if (!m_stepField->hasFocus())
            m_stepField->setText(QString::number(last));
    }
    if (m_slider->maximum() != last)
        m_slider->setMaximum(last);
    if (setToLast) {
        if (m_project->currentRun() < 0)
            m_slider->setValue(last);
        else if (last >= 1)
            m_slider->setValue(last - 1);
    }
}

void TimeToolBar::onSliderChange(int step)
{
    if (!hasData()) {
        clearData();
        return;
    }
    const int last = stepCount() - 1;
    if (step > last) {
        updateSlider(false);
        step = last;
    }
    showStepTip(step);
    if (!m_stepField->hasFocus())
        m_stepField->setText(QString::number(step));
    if (m_delay > 0)
        m_timer->start(m_delay);
    else
        emit valueChanged(step);
}

void TimeToolBar::updateValue()
{
    m_timer->stop();
    emit valueChanged(m_slider->value());
}

void TimeToolBar::onManualEdit()
{
    if (!hasData()) {
        clearData();
        return;
    }
    // As a long long: a number too long for an int still means "the last".
    const qlonglong typed = m_stepField->text().trimmed().toLongLong();
    const int step = int(std::clamp<qlonglong>(typed, 0, stepCount() - 1));
    m_stepField->setText(QString::number(step));
    m_slider->setValue(step);
}
