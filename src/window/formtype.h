// Which pages and controls each form type shows at start.
#pragma once

#include <QString>
#include <QStringList>

#include <array>
#include <vector>

enum class FormTypeId { AllFunction = 0, User = 1, Factory = 2, Tool = 3, Debug = 4 };

struct FormTypeRule
{
    std::array<bool, 20> tabShown{};
    std::vector<const char *> removed;  // disabled and hidden
    std::vector<const char *> hidden;   // hidden only
};

// The FormType items, in order.
QStringList formTypeItems();
// The rule of one form type, before the steps that hold for every type.
FormTypeRule formTypeRule(FormTypeId type);
// Every form type: the MASK tab hidden and the RM 'IR' group removed.
constexpr int alwaysHiddenTab = 15;
constexpr const char *alwaysRemoved = "GroupBox22";
// Which group each unnamed GroupBoxNN of the removal lists stands for.
struct GroupAssignment { const char *name; const char *page; const char *group; };
const std::vector<GroupAssignment> &groupAssignments();
// Parses "all", "user", "factory", "tool", "debug"; -1 when unknown.
int formTypeFromName(const QString &name);
