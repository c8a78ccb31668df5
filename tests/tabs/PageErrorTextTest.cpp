// The words shown for the codes of a page that cannot be loaded.
#include "NetErrorText.h"
#include "PageRules.h"

#include <gtest/gtest.h>

namespace {

TEST(PageErrorWords, CommonCodesReadAsWords)
{
    const struct
    {
        int code;
        const char *words;
    } cases[] = {
        {-105, "找不到服务器"},
        {-137, "找不到服务器"},
        {-800, "找不到服务器"},
        {-102, "服务器拒绝了连接"},
        {-7, "连接超时"},
        {-118, "连接超时"},
        {-101, "连接已重置"},
        {-100, "服务器意外关闭了连接"},
        {-106, "未连接到互联网"},
        {-200, "网站的安全证书有问题"},
        {-202, "网站的安全证书有问题"},
        {-299, "网站的安全证书有问题"},
        {-3, "已取消加载"},
        {-310, "重定向次数过多"},
        {-312, "不允许访问此端口"},
        {-324, "服务器未发送任何数据"},
        {-6, "找不到文件"},
        {-107, "无法建立安全连接"},
        {-300, "网址无效"},
        {404, "找不到该网页"},
        {403, "服务器拒绝访问此网页"},
        {500, "服务器内部错误"},
        {503, "服务暂时不可用"},
        {418, "无法打开该网页"},
        {599, "服务器出错"},
        // codes without words of their own
        {-199, "无法访问此网站"},
        {-300000, "无法访问此网站"},
        {-1, "无法访问此网站"},
        {0, "无法访问此网站"},
        {302, "无法访问此网站"},
    };
    for (const auto &c : cases)
        EXPECT_EQ(NetErrorText::Explain(c.code), QString::fromUtf8(c.words)) << c.code;
}

TEST(PageErrorWords, TheErrorPanelNamesTheCauseBesideTheCode)
{
    EXPECT_EQ(PageRules::ErrorText(-105),
              QStringLiteral("这个页面暂时无法显示，您可以尝试刷新页面\r\n或者从搜索引擎检索该网站的相关信息\r\n\r\n"
                             "错误代码 -105（找不到服务器）"));
    EXPECT_TRUE(PageRules::ErrorText(404).endsWith(QStringLiteral("错误代码 404（找不到该网页）")));
}

} // namespace
