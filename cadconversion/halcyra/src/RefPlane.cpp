// CRefPlane: the reference plane of the part writer.
#include "RefPlane.h"

#include "TarsisCall.h"

#include "com/ComBstr.h"

int CRefPlane::SetRefPlane(ITarsisPartWriter* pPartWriter, double d1, double d2, double d3,
                           double d4, char c1, char c2, char c3)
{
    const char text1[] = {c1, '\0'};
    const char text2[] = {c2, '\0'};
    const char text3[] = {c3, '\0'};
    CComBSTR s1(text1), s2(text2), s3(text3);
    checkTarsisResult(invokeTarsis(
        pPartWriter, tarsis_part_writer::SetRefPlane,
        {argR8(d1), argR8(d2), argR8(d3), argR8(d4), argBstr(s1), argBstr(s2), argBstr(s3)}));
    return 0;
}
