#pragma once

// What the interface views may use of the effect's audio unit. The plug-in's
// view controller implements it over the real audio unit, which this folder
// must not know; tests implement it with fakes.
class AudioUnitLink {
public:
    virtual ~AudioUnitLink() = default;
};
