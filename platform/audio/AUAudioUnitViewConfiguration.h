#pragma once

// A view size a host can show an audio unit's interface in.
struct AUAudioUnitViewConfiguration {
    double width = 0.0;
    double height = 0.0;
    bool hostHasController = false;
};
