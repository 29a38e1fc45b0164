#include "common/Reliability.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace reliability {

namespace {

int badInputs = 0, faultsSurvived = 0, dataLost = 0;

class Totals : public testing::Environment {
public:
    void TearDown() override
    {
        if (badInputs + faultsSurvived + dataLost == 0) return;
        std::printf("reliability totals: %d bad inputs tried, %d faults survived, %d data lost\n", badInputs,
                    faultsSurvived, dataLost);
        EXPECT_EQ(0, dataLost) << "data was lost";
    }
};

[[maybe_unused]] testing::Environment* const totals = testing::AddGlobalTestEnvironment(new Totals);

}  // namespace

void BadInputTried(int count) { badInputs += count; }
void FaultSurvived(int count) { faultsSurvived += count; }
void DataLost(int count) { dataLost += count; }

int CaseCount(int base)
{
    const char* factor = std::getenv("BRUMWELD_STRESS");
    double value = factor && *factor ? std::atof(factor) : 1.0;
    if (!(value > 0)) value = 1.0;
    int count = static_cast<int>(base * value);
    return count > 0 ? count : 1;
}

}  // namespace reliability
