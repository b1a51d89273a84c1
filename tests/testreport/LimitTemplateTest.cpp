// Limit templates as files hold them: every way a template is refused names
// the line of what is wrong; a good one (and each shipped example) reads
// back as written, decimal commas included.

#include "LimitTemplate.h"
#include "ReportHeader.h"
#include "TestSupport.h"

#include <gtest/gtest.h>

#include <filesystem>

namespace lumidrax {
namespace {

TEST(LimitTemplate, RefusalsNameTheLine)
{
    const struct {
        const char* Name;
        const char* Text;
        int Line;
        const char* Says;
    } rows[] = {
        {"not JSON",
         "{\n \"name\": \"x\",\n \"criteria\": [\n  {\"type\": \"end-length\" \"length\": 1}\n ]\n}", 4,
         "not JSON"},
        {"cut short", "{\n \"criteria\": [\n  {\"type\": \"new-events\", \"max-level\": 5}\n", 4, "not JSON"},
        {"unknown type", "{\n \"criteria\": [\n  {\"type\": \"end-lenght\", \"length\": 1}\n ]\n}", 3,
         "unknown type \"end-lenght\""},
        {"missing key",
         "{\n \"criteria\": [\n  {\"type\": \"new-events\"},\n  {\"type\": \"end-length\", \"length\": 1}\n "
         "]\n}",
         3, "has no \"max-level\""},
        {"missing tolerance",
         "{\n \"criteria\": [\n  {\"type\": \"new-events\", \"max-level\": 5},\n  {\"type\": \"end-length\", "
         "\"length\": 1}\n ]\n}",
         4, "criterion 2 (end-length) has no \"tolerance\""},
        {"negative limit",
         "{\n \"criteria\": [\n  {\n   \"type\": \"moved-events\",\n   \"max-shift\": -1\n  }\n ]\n}", 5,
         "must be 0 or more"},
        {"not a number",
         "{\n \"criteria\": [\n  {\"type\": \"dc-voltage-max\",\n   \"volts\": \"0.5\"}\n ]\n}", 4,
         "must be a number"},
        {"misspelt key",
         "{\n \"criteria\": [\n  {\"type\": \"end-length\",\n   \"length\": 1,\n   \"tolerence\": 2}\n ]\n}",
         5, "unknown key \"tolerence\""},
        {"no criteria", "{\n \"name\": \"empty\",\n \"criteria\": []\n}", 3, "lists no criteria"},
        {"no criteria key", "{\n \"name\": \"empty\"\n}", 1, "has no \"criteria\""},
        {"unknown kind",
         "{\n \"criteria\": [\n  {\"type\": \"no-event-before\", \"distance\": 9,\n   \"kind\": \"bend\"}\n "
         "]\n}",
         4, "\"kind\" must be one of"},
        {"criterion not an object", "{\n \"criteria\": [\n  5\n ]\n}", 3, "must be an object"},
        {"template not an object", "[1, 2]", 1, "must be an object"},
        {"unknown top-level key",
         "{\n \"criteria\": [{\"type\": \"new-events\", \"max-level\": 1}],\n \"limits\": 3\n}", 3,
         "unknown key \"limits\""},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.Name);
        try {
            ParseLimitTemplate(row.Text, "t.json");
            ADD_FAILURE() << "accepted";
        } catch (const LimitTemplateError& e) {
            const std::string message = e.what();
            EXPECT_EQ(e.Line(), row.Line) << message;
            EXPECT_EQ(message.rfind("t.json, line " + std::to_string(row.Line) + ": ", 0), 0u) << message;
            EXPECT_NE(message.find(row.Says), std::string::npos) << message;
        }
    }
}

TEST(LimitTemplate, ReadsEveryCriterionAsWritten)
{
    const LimitTemplate t = ParseLimitTemplate(R"({
  "name": "Pair 7",
  "criteria": [
    {"type": "end-length", "length": 1200, "tolerance": "2,5"},
    {"type": "new-events", "max-level": 0},
    {"type": "moved-events", "max-shift": 1.5},
    {"type": "dc-resistance-min", "ohms": 1e7},
    {"type": "dc-voltage-max", "volts": "0,5"},
    {"type": "no-event-before", "kind": "short", "distance": 300}
  ]
})",
                                               "pair.json");
    EXPECT_EQ(t.Name, "Pair 7");
    ASSERT_EQ(t.Criteria.size(), 6u);
    EXPECT_EQ(t.Criteria[0].Kind, CriterionKind::EndLength);
    EXPECT_DOUBLE_EQ(double(t.Criteria[0].Limit), 1200);
    EXPECT_DOUBLE_EQ(double(t.Criteria[0].Tolerance), 2.5);
    EXPECT_EQ(t.Criteria[0].Line, 4);
    EXPECT_EQ(t.Criteria[1].Limit, 0);
    EXPECT_DOUBLE_EQ(double(t.Criteria[3].Limit), 1e7);
    EXPECT_DOUBLE_EQ(double(t.Criteria[4].Limit), 0.5);
    EXPECT_EQ(t.Criteria[5].Events, EventClass::Short);
    EXPECT_EQ(t.Criteria[5].Line, 9);
}

TEST(LimitTemplate, ShippedExamplesRead)
{
    int read = 0;
    for (const auto& entry : std::filesystem::directory_iterator(test::SourcePath("examples/limits"))) {
        SCOPED_TRACE(entry.path().string());
        const LimitTemplate t = LoadLimitTemplate(entry.path().string());
        EXPECT_FALSE(t.Name.empty());
        EXPECT_GE(t.Criteria.size(), 5u);
        ++read;
    }
    EXPECT_GE(read, 2);
    EXPECT_THROW(LoadLimitTemplate(test::SourcePath("examples/limits/none.json")), LimitTemplateError);
    // A number beyond a double is refused like any other bad text.
    EXPECT_THROW(
        ParseLimitTemplate(R"({"criteria": [{"type": "new-events", "max-level": 1e999}]})", "big.json"),
        LimitTemplateError);
}

TEST(ReportHeader, AssignmentsAndTheChartsOwnFacts)
{
    ReportHeader h;
    std::string error;
    EXPECT_TRUE(SetReportHeaderAssignment(h, "Job=J-7", error));
    EXPECT_TRUE(SetReportHeaderAssignment(h, "site=Street 5 = corner", error));
    EXPECT_EQ(h.Job, "J-7");
    EXPECT_EQ(h.Site, "Street 5 = corner");
    EXPECT_FALSE(SetReportHeaderAssignment(h, "colour=red", error));
    EXPECT_NE(error.find("unknown header field \"colour\""), std::string::npos) << error;
    EXPECT_FALSE(SetReportHeaderAssignment(h, "job", error));

    TJednoMereni chart;
    chart.DatumCas = "03.11.2011 14:05:52";
    chart.VerzeVKR = "VKR104";
    chart.SerialNumber = 40117;
    h.Model = "VKR104 B";
    const ReportHeader full = CompleteReportHeader(h, chart);
    EXPECT_EQ(full.Date, "03.11.2011 14:05:52");
    EXPECT_EQ(full.Model, "VKR104 B"); // typed: kept
    EXPECT_EQ(full.Serial, "40117");
    chart.DatumCas = "---";
    chart.SerialNumber = 0;
    EXPECT_EQ(CompleteReportHeader({}, chart).Date, "");
    EXPECT_EQ(CompleteReportHeader({}, chart).Serial, "");
}

} // namespace
} // namespace lumidrax
