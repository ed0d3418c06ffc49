#include "Programs.h"

#include <QDir>
#include <QFileInfo>
#include <QProcess>
#include <QStandardPaths>
#include <QStringList>

#include <cstdlib>
#include <unistd.h>

bool ProgramAvailable(const std::string& Program)
{
    const QString program = QString::fromStdString(Program);
    if (program.contains('/')) {
        const QFileInfo info(program);
        return info.isFile() && info.isExecutable();
    }
    return !QStandardPaths::findExecutable(program).isEmpty();
}

int RunProgram(const std::string& Program, const std::vector<std::string>& Arguments)
{
    QStringList args;
    for (const std::string& a : Arguments)
        args << QString::fromStdString(a);
    QProcess process;
    process.start(QString::fromStdString(Program), args);
    if (!process.waitForStarted() || !process.waitForFinished(-1) || process.exitStatus() != QProcess::NormalExit)
        return -1;
    return process.exitCode();
}

std::string CreatePrivateTempFolder()
{
    const QString base = QDir::tempPath();
    if (base.isEmpty() || !QFileInfo(base).isDir())
        return {};
    // mkdtemp makes the folder with mode 0700 under a random name.
    std::string pattern = (base + "/chart-XXXXXX").toStdString();
    if (::mkdtemp(pattern.data()) == nullptr)
        return {};
    return pattern;
}
