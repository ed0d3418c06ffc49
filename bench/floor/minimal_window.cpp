// The floor of the start-up benchmark: a minimal Qt Widgets program showing a main window
// of the program's size with a menu bar and a few standard widgets in a group box (an
// edit, a check box, a combo box, a button). It ends after its first paint under the same
// rule as the program.
#include "controls/QuitWhenShown.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLineEdit>
#include <QMainWindow>
#include <QMenuBar>
#include <QPushButton>
#include <QVBoxLayout>

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    QMainWindow window;
    window.setWindowTitle("Minimal window");
    QMenu* file = window.menuBar()->addMenu("&File");
    file->addAction("&Open");
    file->addAction("&Save");
    file->addSeparator();
    file->addAction("E&xit", &app, &QCoreApplication::quit);
    window.menuBar()->addAction("Data");
    window.menuBar()->addAction("About");

    auto* central = new QWidget;
    auto* columns = new QHBoxLayout(central);
    auto* options = new QGroupBox(" Problem details ");
    options->setFixedWidth(345);
    auto* left = new QVBoxLayout(options);
    left->addWidget(new QLineEdit("2"));
    left->addWidget(new QCheckBox("Use previous results as initial guess"));
    auto* combo = new QComboBox;
    combo->addItems({"T", "1/T", "T*T", "T^3"});
    left->addWidget(combo);
    left->addWidget(new QPushButton("&RUN"));
    columns->addWidget(options);
    columns->addStretch(1);
    window.setCentralWidget(central);
    window.resize(1029, 744);

    const auto quitWhenShown = startupprobe::QuitWhenShownIfAsked([] { QCoreApplication::quit(); });
    window.show();
    return app.exec();
}
