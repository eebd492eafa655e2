#pragma once

// The status record of a computer entry.
struct TInfo
{
    explicit TInfo(bool online)
        : Online(online)
    { }

    // The computer answered a discovery request since the last scan began.
    bool Online;
};
