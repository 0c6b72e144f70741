#pragma once
// The RSS 2.0 feeds the feed benchmarks parse: items with a date and a GeoRSS
// point each.
#include <cstdio>
#include <string>

inline std::string FeedText(int feed, int items)
{
    std::string s = "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n<rss version=\"2.0\" "
                    "xmlns:georss=\"http://www.georss.org/georss\"><channel><title>Feed " +
                    std::to_string(feed) + "</title>\n";
    char b[512];
    for (int i = 0; i < items; ++i) {
        std::snprintf(b, sizeof b,
                      "<item><title>Feed %d item %d</title><link>http://example.com/%d/%d</link>"
                      "<description>&lt;p&gt;Item %d of feed %d&lt;/p&gt;</description>"
                      "<pubDate>Tue, %02d Jan 2030 %02d:%02d:%02d +0900</pubDate>"
                      "<georss:point>%.6f %.6f</georss:point></item>\n",
                      feed, i, feed, i, i, feed, 1 + feed % 28, i % 24, feed % 60, i % 60, 35.0 + feed * 0.001,
                      139.0 + i * 0.001);
        s += b;
    }
    return s + "</channel></rss>\n";
}
