// The standard output of a shell command line (poppler's pdfinfo and
// pdftotext, unzip), for tests and benchmarks that read tools' answers.
#pragma once

#include <string>

namespace kibtest {

std::string CommandOutput(const std::string& shellCommand);

// One member of the JDK's src.zip (such as "java.base/java/lang/String.java"),
// empty when there is no zip or no such member.
std::string JdkSourceFile(const std::string& member);

} // namespace kibtest
