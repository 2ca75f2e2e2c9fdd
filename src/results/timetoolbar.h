#ifndef TARVEL_TIMETOOLBAR_H
#define TARVEL_TIMETOOLBAR_H

// The strip above the results table: picks a time step of the output data
// with a slider or by its number, shows the time of the step and the end
// time, and gives access to the saved profiles (show, rename, delete, save
// the current step as a new one). Tells the results page what to show by
// its two signals.

#include <QList>
#include <QWidget>

class Project;
class QAction;
class QLabel;
class QLineEdit;
class QMenu;
class QPushButton;
class QSlider;
class QStackedLayout;
class QTimer;
class QToolButton;
class StepValidator;

class TimeToolBar : public QWidget
{
    Q_OBJECT

public:
    explicit TimeToolBar(Project* project, QWidget* parent = nullptr);
    ~TimeToolBar() override;

    // The chosen time step, pulled back into the data; 0 without data.
    int value();
    int delay() const { return m_delay; }
    void setDelay(int milliseconds);
    int selectedProfile() const { return m_selectedProfile; }

    // 0 the slider view, 1 the profile view.
    int currentView() const;
    QSlider* slider() const { return m_slider; }
    QLineEdit* stepField() const { return m_stepField; }
    QLabel* endTimeLabel() const { return m_endTime; }
    QMenu* profileMenu() const { return m_menu; }
    QAction* addProfileAction() const { return m_addProfile; }
    QAction* closeProfileAction() const { return m_closeProfile; }
    const QList<QAction*>& profileActions() const { return m_profileActions; }
    QPushButton* profileButton() const { return m_profileButton; }
    QToolButton* sliderMenuButton() const { return m_sliderMenuButton; }

signals:
    void valueChanged(int step);
    void profileSelected(int index);

public slots:
    void onOutDataUpdate();
    void onSliderChange(int step);
    void onProfilesChanged();
    void onManualEdit();
    void clearData();
    void updateSlider(bool setToLast);
    void updateSlider();
    void updateValue();
    void addProfile();
    void delProfile();
    void closeProfile();
    void editProfile();
    void updateProfileList();
    void actionProfile();

private:
    QWidget* buildSliderView();
    QWidget* buildProfileView();
    QPushButton* flatButton(const QString& icon, const QString& toolTip);
    int stepCount() const;
    bool hasData() const { return stepCount() > 0; }
    bool hasTimeField() const;
    double timeAt(int step) const;
    void showStepTip(int step);

    Project* m_project = nullptr;
    int m_selectedProfile = -1;
    int m_delay = 200;
    bool m_renaming = false;
    QTimer* m_timer = nullptr;

    QMenu* m_menu = nullptr;
    QAction* m_addProfile = nullptr;
    QAction* m_closeProfile = nullptr;
    QList<QAction*> m_profileActions;

    QStackedLayout* m_stack = nullptr;
    QSlider* m_slider = nullptr;
    QLabel* m_endTime = nullptr;
    QLineEdit* m_stepField = nullptr;
    StepValidator* m_validator = nullptr;
    QToolButton* m_sliderMenuButton = nullptr;
    QPushButton* m_profileButton = nullptr;
};

#endif
