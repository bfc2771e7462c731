#include "platform/net/HttpClient.h"

#include <httplib.h>

namespace corvano::net {

HttpReply httpCall(const std::string& host, int port, const std::string& method, const std::string& path,
                   const std::string& token, const std::string& body, int timeoutSeconds) {
    httplib::Client client(host, port);
    client.set_connection_timeout(timeoutSeconds, 0);
    client.set_read_timeout(timeoutSeconds, 0);
    client.set_write_timeout(timeoutSeconds, 0);
    const httplib::Headers headers{{"Authorization", "Bearer " + token}};
    httplib::Result result = method == "POST" ? client.Post(path.c_str(), headers, body, "application/json")
                                              : client.Get(path.c_str(), headers);
    HttpReply reply;
    if (!result) {
        reply.error = httplib::to_string(result.error());
        return reply;
    }
    reply.reached = true;
    reply.status = result->status;
    reply.body = result->body;
    return reply;
}

}  // namespace corvano::net
