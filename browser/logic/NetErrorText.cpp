#include "NetErrorText.h"

#include <iterator>

namespace NetErrorText {

namespace {

struct Words
{
    int code;
    const char *text;
};

// The engine's network error codes that a user meets, by code.
constexpr Words kNetWords[] = {
    {-2, "加载失败"},
    {-3, "已取消加载"},
    {-6, "找不到文件"},
    {-7, "连接超时"},
    {-8, "文件太大"},
    {-10, "没有访问权限"},
    {-20, "网页被拦截"},
    {-21, "网络已变更"},
    {-22, "网页已被管理员禁止访问"},
    {-27, "网页被拦截"},
    {-30, "网页被拦截"},
    {-100, "服务器意外关闭了连接"},
    {-101, "连接已重置"},
    {-102, "服务器拒绝了连接"},
    {-103, "连接已中断"},
    {-104, "无法连接到服务器"},
    {-105, "找不到服务器"},
    {-106, "未连接到互联网"},
    {-107, "无法建立安全连接"},
    {-108, "网址无效"},
    {-109, "无法连接到服务器"},
    {-111, "无法连接到代理服务器"},
    {-112, "无法建立安全连接"},
    {-113, "无法建立安全连接"},
    {-118, "连接超时"},
    {-120, "无法连接到代理服务器"},
    {-130, "无法连接到代理服务器"},
    {-137, "找不到服务器"},
    {-138, "网络访问被拒绝"},
    {-300, "网址无效"},
    {-301, "不支持此类网址"},
    {-302, "不支持此类网址"},
    {-303, "网页的重定向无效"},
    {-310, "重定向次数过多"},
    {-311, "网页的重定向不安全"},
    {-312, "不允许访问此端口"},
    {-320, "服务器的响应无效"},
    {-321, "服务器的响应无效"},
    {-324, "服务器未发送任何数据"},
    {-330, "服务器的响应无效"},
    {-355, "服务器的响应不完整"},
};

// HTTP statuses that a user meets.
constexpr Words kHttpWords[] = {
    {400, "请求无效"},
    {401, "需要登录验证"},
    {403, "服务器拒绝访问此网页"},
    {404, "找不到该网页"},
    {405, "服务器不接受此请求"},
    {407, "需要代理服务器的登录验证"},
    {408, "请求超时"},
    {410, "该网页已被删除"},
    {429, "请求过于频繁"},
    {500, "服务器内部错误"},
    {501, "服务器不支持此请求"},
    {502, "网关错误"},
    {503, "服务暂时不可用"},
    {504, "网关超时"},
};

// Certificate errors fill the range -200 to -299; name resolution errors
// -800 to -899.
constexpr int kCertFirst = -299, kCertLast = -200;
constexpr int kDnsFirst = -899, kDnsLast = -800;

const char *Find(const Words *begin, const Words *end, int code)
{
    for (const Words *w = begin; w != end; ++w) {
        if (w->code == code)
            return w->text;
    }
    return nullptr;
}

} // namespace

QString Explain(int statusCode)
{
    if (statusCode > 0) {
        if (const char *t = Find(std::begin(kHttpWords), std::end(kHttpWords), statusCode))
            return QString::fromUtf8(t);
        if (statusCode >= 500 && statusCode <= 599)
            return QStringLiteral("服务器出错");
        if (statusCode >= 400 && statusCode <= 499)
            return QStringLiteral("无法打开该网页");
        return QStringLiteral("无法访问此网站");
    }
    if (const char *t = Find(std::begin(kNetWords), std::end(kNetWords), statusCode))
        return QString::fromUtf8(t);
    if (statusCode >= kCertFirst && statusCode <= kCertLast)
        return QStringLiteral("网站的安全证书有问题");
    if (statusCode >= kDnsFirst && statusCode <= kDnsLast)
        return QStringLiteral("找不到服务器");
    return QStringLiteral("无法访问此网站");
}

} // namespace NetErrorText
