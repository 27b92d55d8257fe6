#include "comctl/gsd_generator.h"

#include <fstream>
#include <vector>

#include "comctl/gsd_identification.h"
#include "comctl/gsd_language.h"
#include "comctl/gsd_log.h"
#include "comctl/gsd_template.h"
#include "comctl/gsd_text_io.h"
#include "platform/paths.h"

namespace varnak::gsd {

namespace {

constexpr int32_t kTemplateMissing = -3;
constexpr int32_t kOutputFailed = -2;

// "dir/plant.v2.GSD" -> folder prefix "dir/", base name "plant.v2".
struct TargetName {
    std::string folderPrefix;
    std::string baseName;
};

TargetName splitTarget(const std::string& target) {
    size_t slash = target.rfind('/');
    size_t nameStart = slash == std::string::npos ? 0 : slash + 1;
    std::string name = target.substr(nameStart);
    size_t dot = name.rfind('.');
    return {target.substr(0, nameStart), dot == std::string::npos ? name : name.substr(0, dot)};
}

[[nodiscard]] int32_t generateFile(const std::filesystem::path& templateFile,
                                   const std::string& outputFile, const CGSDDatei& coupler,
                                   const GsdLanguage& language, GsdLog& log) {
    std::optional<std::vector<std::string>> lines = readTextLines(templateFile);
    if (!lines) {
        log.error("Cannot open file \"" + templateFile.string() + "\".");
        return kTemplateMissing;
    }
    std::ofstream output(outputFile, std::ios::binary | std::ios::trunc);
    if (!output) {
        log.error("Can't open file \"" + outputFile + "\".");
        return kOutputFailed;
    }
    log.info("Erzeuge \"" + outputFile + "\"");
    log.info("");
    GsdLineWriter writer(output);
    GsdTemplateEngine engine(coupler, language, log, writer);
    for (const std::string& line : *lines) engine.processLine(line);
    output.flush();
    if (!output) {
        log.error("Can't open file \"" + outputFile + "\".");
        return kOutputFailed;
    }
    return 0;
}

}  // namespace

int32_t createGsdFiles(GsdRegisterReader& reader, const std::string& targetFile,
                       const std::string& resourcePath, const GsdOptions& options) {
    GsdLog log;
    log.create(options.logFile);

    CGSDDatei coupler;
    coupler.created = options.clock();
    if (identifyCoupler(reader, log, options.clock, coupler) != 0) {
        log.summary();
        return -1;
    }

    TargetName target = splitTarget(targetFile);
    coupler.targetBaseName = target.baseName;
    if (target.baseName.empty()) {
        log.error("Kein Dateiname zum generieren angegeben.");
        log.summary();
        return -1;
    }

    std::filesystem::path dataFolder =
        platform::resolveCaseInsensitive(platform::joinPath({resourcePath, "gsddata"}));
    std::filesystem::path templateFile =
        platform::resolveCaseInsensitive(dataFolder / "GSDMother.gsd");

    // Without any language file the template still yields one file, without extension.
    std::vector<GsdLanguage> languages;
    for (const std::string& name : platform::listMatching(dataFolder, "*.lang")) {
        languages.emplace_back(log).read(dataFolder / name);
    }
    if (languages.empty()) languages.emplace_back(log);

    int32_t result = 0;
    for (const GsdLanguage& language : languages) {
        std::string outputFile = target.folderPrefix + target.baseName + language.extension();
        if (generateFile(templateFile, outputFile, coupler, language, log) != 0) {
            result = -1;
            break;
        }
    }

    log.info("");
    log.couplerBlock(coupler);
    log.summary();
    return result;
}

}  // namespace varnak::gsd
