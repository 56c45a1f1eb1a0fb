#include "codec/ErrorManager.h"

static void ExitToCaller(j_common_ptr cinfo)
{
    (*cinfo->err->output_message)(cinfo);
    JpegErrorManager* mgr = reinterpret_cast<JpegErrorManager*>(cinfo->err);
    longjmp(mgr->jump, 1);
}

struct jpeg_error_mgr* InitErrorManager(JpegErrorManager* mgr)
{
    struct jpeg_error_mgr* err = jpeg_std_error(&mgr->pub);
    err->error_exit = ExitToCaller;
    return err;
}
