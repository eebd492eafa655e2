#pragma once

#include <chrono>
#include <optional>
#include <string>

// The web interface of one simulated computer: believable figures that stay
// the same between runs for the same name.
class TAgentPages
{
public:
    TAgentPages(std::string name, int webPort, std::chrono::steady_clock::time_point started);

    // The page at path, or none for a path the agent does not serve.
    std::optional<std::string> Page(const std::string& path) const;

private:
    std::string Layout(const std::string& title, const std::string& body) const;
    std::string Overview() const;
    std::string Cpu() const;
    std::string Memory() const;
    std::string Disks() const;
    std::string FrameFail() const;
    std::string ScriptError() const;
    std::string Processes() const;
    std::string Links() const;
    std::string Uptime() const;

    std::string m_name;
    int m_webPort;
    std::chrono::steady_clock::time_point m_started;
    unsigned m_seed;
};
