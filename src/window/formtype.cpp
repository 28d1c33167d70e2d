#include "window/formtype.h"

namespace {
std::array<bool, 20> tabs(std::initializer_list<int> shown)
{
    std::array<bool, 20> out{};
    for (int i : shown)
        out[size_t(i)] = true;
    return out;
}

std::array<bool, 20> allTabs()
{
    std::array<bool, 20> out{};
    out.fill(true);
    return out;
}
} // namespace

QStringList formTypeItems()
{
    return {QStringLiteral("All Function"), QStringLiteral("User"), QStringLiteral("Factory"),
            QStringLiteral("Tool"), QStringLiteral("Debug")};
}

FormTypeRule formTypeRule(FormTypeId type)
{
    switch (type) {
    case FormTypeId::AllFunction:
        return {tabs({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 17, 19}), {}, {}};
    case FormTypeId::User:
        return {tabs({0, 1, 14}),
                {"GroupBox62", "GroupBox63", "GroupBox64", "GroupBox9", "GroupBox23", "GroupBox24",
                 "GroupBox49", "GroupBox40", "GroupBox36", "GroupBox37", "GroupBox53", "MaHRev",
                 "MaVRev", "rec_chk_dpt", "rev_chk", "eep_no_save", "hrev_disp", "vrev_disp", "VERSW"},
                {"ATWMode"}};
    case FormTypeId::Factory:
        return {tabs({5}),
                {"GroupBox40", "GroupBox53", "GroupBox63", "GroupBox64", "GroupBox9", "GroupBox23"},
                {}};
    case FormTypeId::Tool:
        return {tabs({13}),
                {"GroupBox40", "GroupBox53", "GroupBox63", "GroupBox64", "GroupBox9", "GroupBox23",
                 "GroupBox45", "GroupBox46", "GroupBox41", "GroupBox18", "GroupBox19"},
                {}};
    case FormTypeId::Debug:
        break;
    }
    return {allTabs(), {}, {}};
}

const std::vector<GroupAssignment> &groupAssignments()
{
    // The removal lists name these boxes by number only; each stands for one group the
    // pages describe. Engineering views are kept off the three pages the 'User' type shows.
    static const std::vector<GroupAssignment> table = {
        {"GroupBox9", "EASY2", "exposure readings (ALC/AGC/AES now)"},
        {"GroupBox11", "DSP", "register editor"},
        {"GroupBox18", "Tool", "Kizu Data"},
        {"GroupBox19", "Tool", "Night->Day"},
        {"GroupBox22", "RM", "IR"},
        {"GroupBox23", "RM", "IR TEST"},
        {"GroupBox24", "Mot", "Motion Detect"},
        {"GroupBox29", "EASY", "SW"},
        {"GroupBox36", "EASY", "Baud Rate"},
        {"GroupBox37", "EASY", "Stop Bit"},
        {"GroupBox38", "MDP", "Camera Baud Rate -----Stop Bit"},
        {"GroupBox39", "MDP", "Tool Baud Rate-----Stop Bit"},
        {"GroupBox40", "ALC", "IRIS"},
        {"GroupBox41", "Tool", "Day/Night Parameter"},
        {"GroupBox45", "Tool", "White Clip"},
        {"GroupBox46", "Tool", "Burst Level"},
        {"GroupBox49", "Len", "Test"},
        {"GroupBox53", "Col", "IR detection"},
        {"GroupBox54", "EASY", "key state"},
        {"GroupBox62", "Mot", "Motion Data"},
        {"GroupBox63", "Mot", "Motion Area 2"},
        {"GroupBox64", "Mot", "Motion Area 3"},
    };
    return table;
}

int formTypeFromName(const QString &name)
{
    const QString n = name.trimmed().toLower();
    if (n == u"all")
        return int(FormTypeId::AllFunction);
    if (n == u"user")
        return int(FormTypeId::User);
    if (n == u"factory")
        return int(FormTypeId::Factory);
    if (n == u"tool")
        return int(FormTypeId::Tool);
    if (n == u"debug")
        return int(FormTypeId::Debug);
    return -1;
}
