#pragma once

#include <string>

// The root of the objects that raise events: every event names its source as Sender.
class TObject {
public:
    virtual ~TObject() = default;
};

// A non-visual component with a name and a free tag, as the windows' designs give them.
class TComponent : public TObject {
public:
    std::string Name;
    long Tag = 0;
};
