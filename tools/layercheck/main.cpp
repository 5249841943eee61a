// Linked with one layer's whole library and nothing above it: the build fails when that layer
// calls into a higher one (a window, a widget), because the symbol is then undefined.
int main()
{
    return 0;
}
