// Helpers shared by the test programs.
#pragma once
#include <string>
#include <string_view>

namespace testsupport {

// Folder where rendering tests save their pictures (TEST_ARTIFACTS_DIR), or empty when unset.
std::string ArtifactsDir();

// Full path for an artifact named `fileName`, creating the folder; empty when artifacts are off.
std::string ArtifactPath(const std::string& fileName);

// A fresh, empty temporary folder for one test; removed when the test program ends.
std::string TempDir();

// The number at the start of Text (after blanks), read with "." as decimal point whatever the
// C library's locale, as the program writes its numbers; NaN when none stands there.
double Number(std::string_view Text);

} // namespace testsupport
