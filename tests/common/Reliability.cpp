#include "common/Reliability.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>

#include <windows.h>

namespace reliability {

namespace {

int badInputs = 0, faultsSurvived = 0, dataLost = 0;

class Totals : public testing::Environment {
public:
    void TearDown() override
    {
        if (badInputs + faultsSurvived + dataLost == 0) return;
        char path[MAX_PATH] = "";
        GetModuleFileNameA(nullptr, path, MAX_PATH);
        const char* name = std::strrchr(path, '\\') ? std::strrchr(path, '\\') + 1 : path;
        std::printf("reliability totals: %s: %d bad inputs tried, %d faults survived, %d data lost\n", name, badInputs,
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
