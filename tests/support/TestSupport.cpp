#include "TestSupport.h"

#include <QDir>
#include <QTemporaryDir>
#include <charconv>
#include <cmath>
#include <cstdlib>
#include <memory>
#include <vector>

namespace testsupport {

std::string ArtifactsDir()
{
    const char* dir = std::getenv("TEST_ARTIFACTS_DIR");
    return dir && *dir ? std::string(dir) : std::string();
}

std::string ArtifactPath(const std::string& fileName)
{
    const std::string dir = ArtifactsDir();
    if (dir.empty())
        return {};
    QDir().mkpath(QString::fromStdString(dir));
    return dir + "/" + fileName;
}

std::string TempDir()
{
    static std::vector<std::unique_ptr<QTemporaryDir>> dirs;
    dirs.push_back(std::make_unique<QTemporaryDir>());
    return dirs.back()->path().toStdString();
}

double Number(std::string_view Text)
{
    while (!Text.empty() && (Text.front() == ' ' || Text.front() == '\t'))
        Text.remove_prefix(1);
    if (!Text.empty() && Text.front() == '+')
        Text.remove_prefix(1);
    double v = NAN;
    if (std::from_chars(Text.data(), Text.data() + Text.size(), v).ec != std::errc())
        return NAN;
    return v;
}

} // namespace testsupport
