/* A host library built by another compiler, as bridgecheck's tests need it:
 * the C functions under their plain names, the classes under MSVC's C++
 * names, all at this one entry (OtherOstrelLib.def). Nothing is ever called:
 * bridgecheck only reads the names. */
int Unused(void)
{
    return 0;
}
