#include "AgentPages.h"

#include <functional>

TAgentPages::TAgentPages(std::string name, int webPort, std::chrono::steady_clock::time_point started)
    : m_name(std::move(name))
    , m_webPort(webPort)
    , m_started(started)
    , m_seed(static_cast<unsigned>(std::hash<std::string> {}(m_name)))
{ }

std::optional<std::string> TAgentPages::Page(const std::string& path) const
{
    if (path == "/")
        return Overview();
    if (path == "/cpu")
        return Cpu();
    if (path == "/memory")
        return Memory();
    if (path == "/disks")
        return Disks();
    if (path == "/frame-fail")
        return FrameFail();
    if (path == "/script-error")
        return ScriptError();
    if (path == "/processes")
        return Processes();
    if (path == "/links")
        return Links();
    return std::nullopt;
}

std::string TAgentPages::Layout(const std::string& title, const std::string& body) const
{
    return "<!DOCTYPE html>\n<html><head><meta charset=\"utf-8\"><title>" + m_name + " - " + title
        + "</title>\n<style>body{font-family:sans-serif;margin:16px;background:#f4f6f8}"
          "h1{font-size:20px;color:#234}table{border-collapse:collapse;background:#fff}"
          "td,th{border:1px solid #ccd;padding:4px 10px;text-align:left}nav a{margin-right:12px}"
          ".bar{display:inline-block;height:10px;background:#3a7}</style></head>\n<body>\n"
          "<nav><a href=\"/\">Overview</a><a href=\"/cpu\">CPU</a><a href=\"/memory\">Memory</a>"
          "<a href=\"/disks\">Disks</a><a href=\"/frame-fail\">Frame</a><a href=\"/script-error\">Script</a></nav>\n"
          "<h1 id=\"computer\">"
        + m_name + "</h1>\n<h2 id=\"page\">" + title + "</h2>\n" + body + "\n</body></html>\n";
}

std::string TAgentPages::Uptime() const
{
    const auto seconds
        = std::chrono::duration_cast<std::chrono::seconds>(std::chrono::steady_clock::now() - m_started).count()
        + (m_seed % 900000);
    return std::to_string(seconds / 86400) + " days, " + std::to_string(seconds / 3600 % 24) + " hours, "
        + std::to_string(seconds / 60 % 60) + " minutes";
}

std::string TAgentPages::Overview() const
{
    const unsigned cores = 2u << (m_seed % 3);
    const unsigned memory = 4u << (m_seed / 3 % 3);
    return Layout("Overview",
                  "<table>\n<tr><th>Computer</th><td id=\"name\">" + m_name + "</td></tr>\n<tr><th>Processor</th><td>"
                      + std::to_string(cores) + " cores, " + std::to_string(m_seed % 60 + 5)
                      + " % load</td></tr>\n<tr><th>Memory</th><td>" + std::to_string(memory)
                      + " GB</td></tr>\n<tr><th>Disks</th><td>2</td></tr>\n<tr><th>Uptime</th>"
                        "<td id=\"uptime\">"
                      + Uptime() + "</td></tr>\n<tr><th>Agent port</th><td>" + std::to_string(m_webPort)
                      + "</td></tr>\n</table>");
}

std::string TAgentPages::Cpu() const
{
    std::string rows;
    const unsigned cores = 2u << (m_seed % 3);
    for (unsigned core = 0; core < cores; ++core) {
        const unsigned load = (m_seed >> core) % 100;
        rows += "<tr><td>Core " + std::to_string(core) + "</td><td>" + std::to_string(load)
            + " %</td><td><span class=\"bar\" style=\"width:" + std::to_string(load) + "px\"></span></td></tr>\n";
    }
    return Layout("CPU", "<table>\n<tr><th>Core</th><th>Load</th><th></th></tr>\n" + rows + "</table>");
}

std::string TAgentPages::Memory() const
{
    const unsigned total = 4096u << (m_seed / 3 % 3);
    const unsigned used = total / 100 * (m_seed % 70 + 20);
    return Layout("Memory",
                  "<table>\n<tr><th>Total</th><td>" + std::to_string(total) + " MB</td></tr>\n<tr><th>Used</th><td>"
                      + std::to_string(used) + " MB</td></tr>\n<tr><th>Free</th><td>" + std::to_string(total - used)
                      + " MB</td></tr>\n</table>");
}

std::string TAgentPages::Disks() const
{
    const unsigned system = 120 + m_seed % 400;
    const unsigned data = 500 + m_seed % 1500;
    return Layout("Disks",
                  "<table>\n<tr><th>Disk</th><th>Size</th><th>Free</th></tr>\n<tr><td>C:</td><td>"
                      + std::to_string(system) + " GB</td><td>" + std::to_string(system / 3)
                      + " GB</td></tr>\n<tr><td>D:</td><td>" + std::to_string(data) + " GB</td><td>"
                      + std::to_string(data / 2) + " GB</td></tr>\n</table>");
}

std::string TAgentPages::FrameFail() const
{
    // Port 1 is closed on every simulated computer, so the frame's navigation fails.
    return Layout("Frame",
                  "<p>Remote console:</p>\n<iframe id=\"console\" src=\"http://127.0.0.1:1/console\" "
                  "width=\"400\" height=\"200\"></iframe>");
}

std::string TAgentPages::ScriptError() const
{
    return Layout("Script",
                  "<p id=\"status\">Loading sensors...</p>\n"
                  "<script>document.getElementById('status').textContent = 'Sensors:';"
                  " sensors.refresh();</script>");
}

std::string TAgentPages::Processes() const
{
    // The find box sits at a fixed place, so a test can click into it. Every key
    // event the page sees, and every search, goes to /key-log for the test to read.
    return Layout("Processes",
                  "<form id=\"find\" style=\"position:absolute;left:20px;top:200px\">"
                  "<input id=\"name\" autocomplete=\"off\" style=\"width:300px;height:30px\"></form>\n"
                  "<script>\n"
                  "var seen = [], reported = 0;\n"
                  "function note(e) { seen.push(e.type + ' ' + e.code + ' ' + e.key + (e.ctrlKey ? ' ctrl' : '')); }\n"
                  "document.addEventListener('keydown', note, true);\n"
                  "document.addEventListener('keyup', note, true);\n"
                  "document.getElementById('find').addEventListener('submit', function (e) {\n"
                  "  e.preventDefault(); seen.push('search'); });\n"
                  "setInterval(function () {\n"
                  "  if (seen.length == reported) return;\n"
                  "  reported = seen.length;\n"
                  "  fetch('/key-log', { method: 'POST', body: seen.join('\\n') + '\\n' }); }, 100);\n"
                  "</script>");
}

std::string TAgentPages::Links() const
{
    // At fixed places, so a test can click them: 40 pixels high, 60 apart, from 200 pixels down.
    const std::string place = "style=\"position:absolute;left:20px;width:300px;height:40px;font-size:24px;top:";
    return Layout("Links",
                  "<a id=\"cpu\" href=\"/cpu\" " + place
                      + "200px\">CPU load</a>\n"
                        "<a id=\"docs\" href=\"/docs\" target=\"_blank\" "
                      + place
                      + "260px\">Documentation</a>\n"
                        "<button id=\"help\" onclick=\"window.open('/help')\" "
                      + place
                      + "320px\">Help</button>\n"
                        // Port 1 is closed on every simulated computer, so following this link fails.
                        "<a id=\"console\" href=\"http://127.0.0.1:1/console\" "
                      + place + "380px\">Remote console</a>");
}
