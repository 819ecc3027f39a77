#include "core/engine/rename_plan.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "core/text/utf.h"

namespace soramine {
namespace {

// Renames as "from>to" (names in the folder "/f/"); the plan's steps in the same form, a
// parked item as "park:from" and "unpark:from", and the roles as one letter per rename
// (F free, W freed by another item, C colliding).
struct Planned {
    std::string steps;
    std::string roles;
};

Planned planOf(const std::vector<std::string>& renames) {
    RenamePlan plan;
    std::vector<std::u16string> paths;  // what the plan views
    paths.reserve(2 * renames.size());
    for (const auto& r : renames) {
        const auto arrow = r.find('>');
        paths.push_back(u"/f/" + text::fromUtf8(r.substr(0, arrow)));
        paths.push_back(u"/f/" + text::fromUtf8(r.substr(arrow + 1)));
        plan.add(paths[paths.size() - 2], paths.back());
    }
    plan.plan();
    Planned out;
    const auto name = [](std::u16string_view path) { return text::toUtf8(path.substr(3)); };
    for (const RenamePlan::Step& step : plan.steps()) {
        if (!out.steps.empty())
            out.steps += ' ';
        const std::string from = name(plan.from(step.entry));
        switch (step.kind) {
            case RenamePlan::StepKind::kRename:
                out.steps += from + '>' + name(plan.to(step.entry));
                break;
            case RenamePlan::StepKind::kPark:
                out.steps += "park:" + from;
                break;
            case RenamePlan::StepKind::kUnpark:
                out.steps += "unpark:" + from;
                break;
        }
    }
    for (std::size_t i = 0; i < plan.size(); ++i)
        out.roles += "FWC"[static_cast<int>(plan.role(i))];
    return out;
}

TEST(RenamePlan, OrdersChainsAndBreaksCycles) {
    struct Case {
        const char* what;
        std::vector<std::string> renames;
        std::string steps;
        std::string roles;
    };
    const Case cases[] = {
        {"free names keep list order", {"a>x", "b>y"}, "a>x b>y", "FF"},
        {"shift up: the last first", {"1>2", "2>3", "3>4"}, "3>4 2>3 1>2", "WWF"},
        {"shift down: list order", {"2>1", "3>2", "4>3"}, "2>1 3>2 4>3", "FWW"},
        {"swap", {"a>b", "b>a"}, "park:a b>a unpark:a", "WW"},
        {"rotation of three", {"a>b", "b>c", "c>a"}, "park:a c>a b>c unpark:a", "WWW"},
        {"two swaps",
         {"a>b", "c>d", "b>a", "d>c"},
         "park:a b>a unpark:a park:c d>c unpark:c",
         "WWWW"},
        {"a cycle and a chain into nothing",
         {"x>y", "a>b", "b>a", "w>x"},
         "x>y w>x park:a b>a unpark:a",
         "FWWW"},
        {"one name wanted twice: the first gets it, the second comes last",
         {"a>x", "b>x", "c>a"},
         "a>x c>a b>x",
         "FCW"},
        {"a chain waiting for a colliding item comes after it",
         {"a>x", "b>x", "c>b"},
         "a>x b>x c>b",
         "FCW"},
        {"a name wanted twice, one of them in a cycle",
         {"a>b", "b>a", "c>a"},
         "park:a b>a unpark:a c>a",
         "WWC"},
    };
    for (const Case& c : cases) {
        const Planned planned = planOf(c.renames);
        EXPECT_EQ(planned.steps, c.steps) << c.what;
        EXPECT_EQ(planned.roles, c.roles) << c.what;
    }
}

TEST(RenamePlan, ALongShiftGoesLastFirst) {
    // Enough paths that many share slots of the plan's tables.
    std::vector<std::string> renames;
    std::string steps;
    for (int i = 1999; i >= 0; --i)
        steps += std::to_string(i) + '>' + std::to_string(i + 1) + (i > 0 ? " " : "");
    for (int i = 0; i < 2000; ++i)
        renames.push_back(std::to_string(i) + '>' + std::to_string(i + 1));
    const Planned planned = planOf(renames);
    EXPECT_EQ(planned.steps, steps);
    EXPECT_EQ(planned.roles, std::string(1999, 'W') + 'F');
}

TEST(RenamePlan, SeesOtherItemsOldAndNewPaths) {
    RenamePlan plan;
    plan.add(u"/f/a", u"/f/b");
    plan.add(u"/g/b", u"/g/c");  // another folder: no wait across folders
    plan.plan();
    EXPECT_TRUE(plan.isOldPath(u"/f/a"));
    EXPECT_FALSE(plan.isOldPath(u"/f/b"));
    EXPECT_TRUE(plan.isNewPath(u"/g/c"));
    EXPECT_EQ(plan.role(0), RenamePlan::Role::kFree);
}

}  // namespace
}  // namespace soramine
