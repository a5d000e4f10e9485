// The Java text the editor benchmarks fill their files with: a class with
// javadoc, comments, strings, numbers and tabs; line 3 takes the class number.
#pragma once

namespace benchsample {

inline constexpr const char* kJavaBlock[] = {
        "/**",
        " * Javadoc of the class with some words in it, and a few more words here.",
        " */",
        "public class Sample%d extends Base implements Runnable {",
        "    private static final int LIMIT = 0x7f;",
        "\t// how often run() was called since the object was made, and by whom",
        "    private int count = 0; /* reset by run() when it grows too large */",
        "    private String name = \"sample \\\" quoted\"; // the name shown to the users",
        "",
        "    public void run() { // the main loop of the sample, counting calls",
        "        for (int i = 0; i < LIMIT; i++) {",
        "            count += compute(i, name, 'c', 3.14) + compute(count, name, 'd', 2.71);",
        "\t\t\tif (count > 1e5) { count = 0; }",
        "        }",
        "    }",
        "",
        "    /* a block comment */ int compute(int a, String s, char c, double d) {",
        "        return a * 31 + s.length() + c + (int) d + Integer.MAX_VALUE / 1024;",
        "    }",
        "}",
};
inline constexpr int kJavaBlockLines = sizeof kJavaBlock / sizeof kJavaBlock[0];

} // namespace benchsample
