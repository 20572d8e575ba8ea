// Point-file tests run each test in a fresh temporary working directory, as
// the editor runs: the point file is always points.txt in the working
// directory.
#pragma once

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>
#include <vector>

#include "editor/point_file.h"
#include "editor_fixture.h"

inline std::string readAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    std::ostringstream text;
    text << in.rdbuf();
    return text.str();
}

inline void writeAll(const std::string& path, const std::string& text)
{
    std::ofstream(path, std::ios::binary) << text;
}

// `text` with each "\n" written as this platform's line end.
inline std::string withLineEnds(const std::string& text)
{
#ifdef _WIN32
    std::string lines;
    for (const char c : text) {
        if (c == '\n') {
            lines += '\r';
        }
        lines += c;
    }
    return lines;
#else
    return text;
#endif
}

class PointFileTest : public EditorStateTest {
protected:
    void SetUp() override
    {
        EditorStateTest::SetUp();
        previous_ = std::filesystem::current_path();
        std::random_device random;
        do {
            dir_ = std::filesystem::temp_directory_path() / ("point-file-test-" + std::to_string(random()));
        } while (!std::filesystem::create_directory(dir_));
        std::filesystem::current_path(dir_);
    }

    void TearDown() override
    {
        std::filesystem::current_path(previous_);
        std::error_code ignored;
        std::filesystem::remove_all(dir_, ignored);
    }

    // The names in `directory`, sorted.
    static std::vector<std::string> entries(const std::filesystem::path& directory = ".")
    {
        std::vector<std::string> names;
        for (const auto& entry : std::filesystem::directory_iterator(directory)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    static void addTwoPoints()
    {
        printed([] {
            addPoint(100, 100, 10);
            addPoint(-50, 20, 12);
        });
    }

    static constexpr const char* TWO_POINTS =
        "2\n100.000000 100.000000 10.000000\n-50.000000 20.000000 12.000000\n";

    // Loads points.txt and returns what loading printed.
    static std::string load()
    {
        return printed([] { loadPointSet(0); });
    }

    // Writes `text` to points.txt, loads it and returns what loading printed.
    static std::string load(const std::string& text)
    {
        writeAll(POINTS_FILE, text);
        return load();
    }

    static std::string save()
    {
        return printed([] { savePointSet(0); });
    }

    std::filesystem::path dir_;
    std::filesystem::path previous_;
};
