#ifndef TARVEL_MAINWINDOW_H
#define TARVEL_MAINWINDOW_H

// The one top-level window. For now it carries only the application's name;
// the pages and the project move in as they are built.

#include <QMainWindow>

class MainWindow : public QMainWindow
{
    Q_OBJECT

public:
    explicit MainWindow(QWidget* parent = nullptr);
};

#endif
