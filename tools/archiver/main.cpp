#include <cstdio>

// The archive tool that unpacks app packages. Unpacking arrives with app
// installation; until then it refuses every request.
int main()
{
    std::fprintf(stderr, "rar: no archive operations are available yet\n");
    return 1;
}
