// Writes a survey of an extreme shape into a folder, for measuring that time and memory stay
// bounded by the input:
//   qorvel_generate_extreme_survey FOLDER repeated [N]  one real point named N times on one
//                                                       membership line (default 25,000,000)
//   qorvel_generate_extreme_survey FOLDER wide [N]      one section of N points (default 1,000,000)
//   qorvel_generate_extreme_survey FOLDER many [N]      N sections of one point, the stake's own
//                                                       shot (default 1,000,000)

#include <cstdio>
#include <exception>
#include <string>
#include <string_view>

#include "survey/survey_generator.h"

int main(int argc, char** argv) {
    const std::string_view kind = argc > 2 ? argv[2] : "";
    if (argc < 3 || argc > 4 || (kind != "repeated" && kind != "wide" && kind != "many")) {
        std::fprintf(stderr, "usage: %s FOLDER repeated|wide|many [N]\n", argv[0]);
        return 2;
    }
    try {
        using qorvel::bench::SurveyShape;
        const std::size_t n = argc > 3 ? std::stoul(argv[3]) : kind == "repeated" ? 25000000 : 1000000;
        const SurveyShape shape = kind == "repeated" ? SurveyShape{1, 2, 1}
                                  : kind == "wide"   ? SurveyShape{1, n, 1}
                                                     : SurveyShape{n, 1, 1};
        auto files = qorvel::bench::GenerateSurvey(shape);
        if (kind == "repeated") {
            // The station has its stake's shot and one point across: that point, named n times.
            const std::string line = files.members.substr(0, files.members.find('\r'));
            const std::string stake = files.stakes.substr(files.stakes.find(",,") + 2, files.stakes.find('\r'));
            const std::string stakePlace = stake.substr(0, stake.rfind(','));  // easting,northing
            std::string named;
            for (std::size_t at = 0; at < files.points.size(); at = files.points.find('\n', at) + 1) {
                const std::string point = files.points.substr(at, files.points.find('\r', at) - at);
                if (point.find(",," + stakePlace + ",") == std::string::npos) named = "," + point.substr(0, point.find(','));
            }
            std::string members = line.substr(0, line.find(','));
            members.reserve(members.size() + n * named.size() + 2);
            for (std::size_t k = 0; k < n; ++k) members += named;
            files.members = members + "\r\n";
        }
        qorvel::bench::WriteSurvey(files, argv[1]);
        std::printf("%s survey (%zu) written to %s\n", argv[2], n, argv[1]);
    } catch (const std::exception& error) {
        std::fprintf(stderr, "%s\n", error.what());
        return 1;
    }
    return 0;
}
