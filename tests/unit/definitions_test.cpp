// The definition records' one reader: what it refuses and how it cuts long texts. What each
// record reads is checked where the data set is loaded (registry_test).
#include "data/armor.h"
#include "data/item.h"
#include "data/skill.h"
#include "data/weapon.h"
#include "support/test_support.h"

namespace {

using namespace std::string_literals;

// What reading a record that must be refused prints; the record must stay as it was.
template <typename T> std::string Refused(int (*reader)(T*, FILE*), const std::string& text) {
    T before{};
    before.uid = 1234;
    ReadText<T> r(reader, text, before);
    EXPECT_EQ(r.result, 1) << text;
    EXPECT_EQ(r.record.uid, 1234) << text;
    return r.output;
}

TEST(DefinitionRecords, BadLinesFailWithTheRecordsMessageAndLeaveItUnchanged) {
    const std::string weapon = "Error reading weapon file\n";
    const std::pair<std::string, std::string> cases[] = {
        {Refused(ReadWeapon, "5000\nuid:\n5000\nendweapon:\n"), weapon},
        {Refused(ReadWeapon, "uid:\nfive\nendweapon:\n"), weapon},
        {Refused(ReadWeapon, "name:\nIce\nendweapon:\n"), weapon},
        {Refused(ReadWeapon, "name:\n\"\"\nendweapon:\n"), weapon},
        {Refused(ReadWeapon, "uid:\n5000\nweapon:\n"), weapon},
        {Refused(ReadWeapon, "uid:\n-1\n"),
         "uid: value -1 is out of range (0 to 2147483647)\n" + weapon},
        {Refused(ReadWeapon, "accuracy:\nnan\n"),
         "accuracy: value nan is not a finite number\n" + weapon},
        {Refused(ReadWeapon, "power:\n200\n"), // it would be added to an 8-bit power
         "power: value 200 is out of range (-128 to 127)\n" + weapon},
        {Refused(ReadArmor, "ddefense:\n-129\n"),
         "ddefense: value -129 is out of range (-128 to 127)\nError reading armor file\n"},
        {Refused(ReadItem, "usageArea:\n4\n"),
         "usageArea: value 4 is out of range (0 to 3)\nError reading item file\n"},
        // After a stats section its keyword takes no value lines; a bad section fails the record.
        {Refused(ReadItem, "deltaStats:\npower:\n1\nendstats:\n4\n"), "Error reading item file\n"},
        {Refused(ReadSkill, "deltaStats:\n4\nendstats:\n"),
         "Error reading stats file\nError reading skill file\n"},
    };
    for (const auto& [output, expected] : cases)
        EXPECT_EQ(output, expected);
}

TEST(DefinitionRecords, LongTextsKeepTheStartThatFitsTheirFieldAndNoMore) {
    // The name is read last, so that writing past it would show in the description after it.
    const std::string name = "abcdefghijklmnopqrstuvwxyz0123", text = name + name;
    ReadText<Skill> r(ReadSkill, "desc:\n\"" + text + "\"\nsound:\n\"" + text + "\"\nname:\n\"" +
                                     name + "\"\nendskill:\n");
    ASSERT_EQ(r.result, 0);
    EXPECT_EQ(std::tuple(r.record.name, r.record.desc, r.record.sound, r.record.uid),
              std::tuple(name.substr(0, 24), text.substr(0, 32), text.substr(0, 32), 0));
    EXPECT_EQ(Occurrences(r.output, " characters cut to \""), 3) << r.output;
    EXPECT_NE(r.output.find("name: text longer than 24 characters cut to \"" + name.substr(0, 24) +
                            "\"\n"),
              std::string::npos);
    ReadText<Armor> exact(ReadArmor, "name:\n\"" + name.substr(0, 24) + "\"\nendarmor:\n");
    EXPECT_EQ(std::tuple(exact.output, exact.record.name), std::tuple(""s, name.substr(0, 24)));
}

} // namespace
