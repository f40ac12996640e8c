#include "PlantBuilder.h"

#include "LocalDayTime.h"
#include "platform/PortDirectory.h"

namespace sim {

InverterFactory MakeFactory(const SimOptions& options) {
    InverterFactory::Settings settings;
    settings.serialPrefix = options.serialPrefix;
    settings.ambientTenths = options.ambientTenths;
    settings.runtimeFields = options.runtimeFields;
    settings.paramFields = options.paramFields;
    return InverterFactory(settings);
}

SimServerConfig MakeServerConfig(const SimOptions& options, const InverterFactory& factory) {
    SimServerConfig config;
    config.portDirectory = options.portDirectory.empty() ? PortDirectory() : options.portDirectory;
    config.controlPath = options.controlPath;
    config.wireTime = options.wireTime;
    for (const BusLayout& layout : options.buses) {
        SimBus bus(layout.port);
        int position = 0;
        for (const BusLayout::Units& units : layout.units) {
            for (int i = 0; i < units.count; ++i) {
                ++position;
                const auto serial = options.serials.find({layout.port, position});
                bus.AddInverter(
                    factory.Make(units.kind, layout.port, position, units.ratedPowerW,
                                 serial == options.serials.end() ? std::string{} : serial->second));
            }
        }
        config.buses.push_back(std::move(bus));
    }
    return config;
}

std::int64_t SimulatedStart(const SimOptions& options, std::int64_t now) {
    return options.startSecondOfDay ? LocalTimeOnSameDay(now, *options.startSecondOfDay) : now;
}

} // namespace sim
