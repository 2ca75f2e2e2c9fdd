// The time toolbar's profiles: the menu of saved profiles, showing one, and
// saving, renaming and deleting them through the project.

#include "timetoolbar.h"

#include "diagnostic.h"
#include "profile.h"
#include "project.h"

#include <QAction>
#include <QInputDialog>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QSlider>
#include <QStackedLayout>

void TimeToolBar::addProfile()
{
    const int step = m_slider->value();
    if (step == 0) {
        // Step 0 stands for all time steps on the results page.
        tWarning() << "Cannot create profile for time step 0";
        return;
    }
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Create a new Profile"), tr("Profile Name:"),
                                               QLineEdit::Normal, tr("new profile"), &ok);
    if (!ok || name.trimmed().isEmpty())
        return;
    const ProfileResult result = m_project->saveProfile(name, step);
    tDebug() << "SaveProfile with" << step << "returned" << int(result);
    // The user asked for a profile and named it: a refusal must not pass in
    // silence, as if the profile were there.
    if (result != ProfileResult::Created)
        QMessageBox::warning(
            this, tr("Profile not saved"),
            tr("The profile \"%1\" could not be saved: %2.").arg(name.trimmed(), profileResultMessage(result)));
}

void TimeToolBar::actionProfile()
{
    auto* action = qobject_cast<QAction*>(sender());
    const int index = action ? action->data().toInt() : -1;
    if (index < 0 || index >= m_project->profileNames().size()) {
        updateProfileList();
        return;
    }
    m_addProfile->setVisible(false);
    m_closeProfile->setVisible(true);
    m_selectedProfile = index;
    m_profileButton->setText(m_project->profileAt(index)->name());
    m_stack->setCurrentIndex(1);
    emit profileSelected(index);
}

void TimeToolBar::closeProfile()
{
    m_addProfile->setVisible(true);
    m_closeProfile->setVisible(false);
    m_stack->setCurrentIndex(0);
    m_selectedProfile = -1;
    emit valueChanged(m_slider->value());
}

void TimeToolBar::editProfile()
{
    if (m_selectedProfile < 0)
        return;
    Profile* profile = m_project->profileAt(m_selectedProfile);
    if (!profile) {
        updateProfileList();
        return;
    }
    const QString current = profile->name().trimmed();
    bool ok = false;
    const QString name = QInputDialog::getText(this, tr("Edit Profile: %1").arg(current), tr("Profile Name:"),
                                               QLineEdit::Normal, profile->name(), &ok);
    if (!ok || name.trimmed().isEmpty() || name.trimmed() == current)
        return;
    // Through the project, so that the rename marks it unsaved; its
    // profilesChanged() must not close the profile being renamed.
    m_renaming = true;
    m_project->renameProfile(m_selectedProfile, name);
    m_renaming = false;
    m_profileButton->setText(profile->name());
    updateProfileList();
}

void TimeToolBar::delProfile()
{
    if (m_selectedProfile < 0)
        return;
    if (m_selectedProfile >= m_project->profileNames().size()) {
        updateProfileList();
        return;
    }
    m_project->removeProfile(m_selectedProfile);
    // The project's profilesChanged() has normally closed the view already.
    if (m_selectedProfile >= 0)
        closeProfile();
}

void TimeToolBar::onProfilesChanged()
{
    if (m_renaming) {
        updateProfileList();
        return;
    }
    closeProfile();
    updateProfileList();
}

void TimeToolBar::updateProfileList()
{
    for (QAction* action : std::as_const(m_profileActions)) {
        m_menu->removeAction(action);
        delete action;
    }
    m_profileActions.clear();
    const QStringList names = m_project->profileNames();
    for (int i = 0; i < names.size(); ++i) {
        auto* action = new QAction(names.at(i), m_menu);
        action->setToolTip(tr("Save selected Time Step as a Profile"));
        action->setData(i);
        connect(action, &QAction::triggered, this, &TimeToolBar::actionProfile);
        m_menu->addAction(action);
        m_profileActions.append(action);
    }
    if (m_selectedProfile >= names.size())
        closeProfile();
}
