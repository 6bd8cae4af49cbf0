<?xml version="1.0" encoding="utf-8"?>
<!DOCTYPE TS>
<TS version="2.1" language="ja_JP">
<context>
    <name>QFileDialog</name>
    <message>
        <source>%1 already exists.
Do you want to replace it?</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::AboutDialog</name>
    <message>
        <source>バージョン情報 Quillfen</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::ApplicationWindow</name>
    <message>
        <source>表示言語は、Quillfen を次に起動したときに切り替わります。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::AxisReasons</name>
    <message>
        <source>画像が小さすぎてグラフを含められません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>軸の線が見つかりません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>水平と垂直の軸の線が角で交わっていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>見つかった軸の線が短すぎます。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りラベルを読み取れませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>異なる値の目盛りラベルを 3 個以上読み取れませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>線形目盛りでも対数目盛りでも、一致する目盛りラベルが 3 個未満です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ほかのラベルが示す目盛りと合わないラベルが多すぎます。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>一致する目盛りラベルが通常と逆向きに並び、ほかのラベルとも合いません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りラベルが右から左へ増える対数目盛りを示しています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りラベルが上から下へ増える対数目盛りを示しています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>軸の倍率またはオフセットを読み取れませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りラベルを読み取れません: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの枠が見つかりません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの枠が四角形になっていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの枠の隣り合う 2 辺が平行です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの 2 本の軸が平行です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの枠に上辺と右辺がなく、目盛りからも傾きが分かりません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの枠の欠けた辺を置けません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの枠の辺をたどれませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>見つかった 4 隅が凸四角形になりません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りラベルが斜めに書かれています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りラベルが数値ではありません (名前や日付)。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::CaptureDialog</name>
    <message>
        <source>正の整数を入力してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>VideoCapture設定パラメータ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フレーム幅</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フレーム高</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フレームレート</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::Commands</name>
    <message>
        <source>このプロジェクトを開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像ファイルを開く(&amp;O)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>既存の画像ファイルを開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像ファイルを開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元画像保存(&amp;A)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元画像を保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元画像保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印刷(&amp;P)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示中のビューを印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>印刷</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成グラフ画像保存...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成グラフを画像ファイル保存...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成グラフ画像保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新しいプロジェクト(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新しいプロジェクトを始める</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新しいプロジェクト</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトを開く(&amp;J)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存したプロジェクトを開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトを開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトを保存(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトを上書き保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトを保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名前を付けてプロジェクトを保存(&amp;M)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトを新しい名前で保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>名前を付けてプロジェクトを保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元に戻す(&amp;U)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>直前の操作を元に戻す</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元に戻す</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>やり直し(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元に戻した操作をやり直す</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>やり直し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択した点を削除(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択したフィッティング元座標を削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択した点を削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての点を削除(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標をすべて削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての点を削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アプリケーションの終了(&amp;X)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アプリケーションを終了し、ファイルの保存を指示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>終了</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>入力画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>入力画像を表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像処理出力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング実行後の画像を表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成グラフ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティングにより生成したグラフを表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画素グリッドを表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画素グリッド</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画素グリッド色を変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画素グリッド色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グレー画像化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>入力画像をグレー化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング 元領域(４点指定)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング 元領域を指定（入力画像表示時 有効）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング 実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元領域をグラフ領域ヘマッピング</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング グリッド表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング グリッドを表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング領域グリッド</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフ 領域(矩形指定)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>データ化するグラフ 領域を指定（出力画像表示時 有効）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拡大</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像表示を拡大（マウスホイール）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>縮小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像表示を縮小（マウスホイール）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ウィンドウに合わせる</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像全体をウィンドウに合わせて表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>拡大鏡</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点の追加と角・辺の移動中、ポインタの周りを拡大して表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>デバイス ０</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撮像 開始/停止</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撮像 デバイス ０</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>デバイス １</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撮像 デバイス １</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>デバイス ２</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撮像 デバイス ２</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>デバイス ３</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撮像 デバイス ３</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ビデオキャプチャー設定 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャプチャ設定を変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ビデオキャプチャー設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像処理を１回実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング 元座標追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示画像上マウスクリックでフィッティング元座標を追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング 元座標消去</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標をクリックで消去、マウスドラッグ領域内を消去</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標消去</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング 元座標データ保存 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標データを保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標データ保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング 実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティングを実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成グラフ 座標データ保存 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成グラフの座標データを保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成グラフ座標データ保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>カスタマイズ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ステータス バー(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ブルー スタイル(&amp;B)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ブラック スタイル(&amp;L)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>シルバー スタイル(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アクア スタイル(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>システムの言語に従う (次回起動時に反映)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日本語で表示 (次回起動時に反映)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>英語で表示 (次回起動時に反映)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillfen ヘルプ(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>使い方の説明を開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillfen ヘルプ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バージョン情報 Quillfen(&amp;A)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プログラム情報、バージョン、著作権を表示します。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>バージョン情報</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル(&amp;F)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最近使ったプロジェクト(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>編集(&amp;E)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像処理</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>撮像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示(&amp;V)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ツール バーとドッキング ウィンドウ(&amp;T)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>アプリケーションの外観(&amp;A)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ヘルプ(&amp;H)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>標準</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ビデオキャプチャー</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>レディ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲線 自動抽出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲線をクリックすると、その色の曲線をたどって点を探します（出力画像表示時 有効）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>抽出した点を追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>自動抽出で見つかった点をフィッティング元座標に追加（Enter、Esc で取り消し）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング結果保存 (fit.json)...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティングの結果 (式、係数、残差) を fit.json 形式で保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング結果保存 (fit.json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りで校正</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X 軸の目盛り 2 つと Y 軸の目盛り 2 つをクリックし、それぞれの値を入力して軸を校正（出力画像表示時 有効）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>軸を自動認識</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作業画像の枠と目盛りラベルを読み取り、軸の範囲と対数目盛りを設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>枠を自動検出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>入力画像からグラフの枠の 4 隅を探し、マッピングのコーナーをそこへ移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼り付け(&amp;P)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリップボードの画像 (または画像ファイル) を開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像を貼り付け</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング 元座標データ読込 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存したフィッティング元座標データを読み込んで点を置き換える</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標データ読込</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての系列をフィット</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点のある系列をそれぞれの設定でフィッティング</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての系列を抽出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>軸の範囲にある曲線を色ごとに探し、曲線ごとに系列を作る（クリック不要）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての系列を CSV に保存 ...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての系列の点を 1 つの CSV ファイル (series, x, y) に保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての系列を CSV に保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列を追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新しい系列を追加して、点の追加先にする</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の名前を変更...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択中の系列の名前を変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の名前を変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の色を変更...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択中の系列の点と曲線の色を変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の色を変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列を削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択中の系列をその点ごと削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列へ移動...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>選択した点を別の系列へ移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列へ移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::CustomizeDialog</name>
    <message>
        <source>カスタマイズ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ツール バーとボタン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>閉じる</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべてリセット</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::Document</name>
    <message>
        <source>無題</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::Edits</name>
    <message>
        <source>設定の変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>コーナーの移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>領域の変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点の追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点の消去</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲線の自動抽出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キーでの移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像を開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング 実行</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グレー画像化</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての点を削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点の削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りで校正</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>軸の自動認識</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>枠の自動検出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像の貼り付け</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元座標データを読み込む</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の選択</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の追加</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の名前の変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の色の変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の削除</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点の系列の移動</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべての系列の抽出</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::FileDialogs</name>
    <message>
        <source>プロジェクトを開く</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillfen プロジェクト (*.quillfen.json);;JSON (*.json);;All Files (*)</source>
        <translation>Quillfen プロジェクト (*.quillfen.json);;JSON (*.json);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>プロジェクトを保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Quillfen プロジェクト (*.quillfen.json)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Open Image File</source>
        <translation>画像ファイルを開く</translation>
    </message>
    <message>
        <source>Save Image File</source>
        <translation>画像ファイルを保存</translation>
    </message>
    <message>
        <source>BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;All Files (*)</source>
        <translation>BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>CSV(*.csv);;TEXT(*.txt);;ALL(*)</source>
        <translation>CSV(*.csv);;テキスト(*.txt);;すべて(*)</translation>
    </message>
    <message>
        <source>JSON (*.json);;All Files (*)</source>
        <translation>JSON (*.json);;すべてのファイル (*)</translation>
    </message>
    <message>
        <source>Image Files (*.bmp *.jpg *.png *.tif *.pdf);;BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;PDF (*.pdf)</source>
        <translation>画像ファイル (*.bmp *.jpg *.png *.tif *.pdf);;BMP (*.bmp);;JPG (*.jpg);;PNG (*.png);;TIF (*.tif);;PDF (*.pdf)</translation>
    </message>
    <message>
        <source>貼り付けた画像を保存</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PNG (*.png)</source>
        <translation>PNG (*.png)</translation>
    </message>
    <message>
        <source>CSV(*.csv);;CSV (UTF-8)(*.csv);;TEXT(*.txt);;ALL(*)</source>
        <translation>CSV(*.csv);;CSV (UTF-8)(*.csv);;テキスト(*.txt);;すべて(*)</translation>
    </message>
</context>
<context>
    <name>qf::FormulaCopyBar</name>
    <message>
        <source>コピー:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表計算</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::HelpWindow</name>
    <message>
        <source>Quillfen ヘルプ</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::ImageView</name>
    <message>
        <source>点の一覧が一杯のため、抽出した %1 点のうち %2 点だけを追加しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 点が見つかりました。Enter キーで追加、Esc キーで取り消します。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>四隅が平行四辺形ではありません。斜めに撮った写真は「射影変換」の方が正確にまっすぐになります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X 軸の目盛りをクリックしてください (%1/4)。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y 軸の目盛りをクリックしてください (%1/4)。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りで校正</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>この X 軸の目盛りの値 (%1/4):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>この Y 軸の目盛りの値 (%1/4):</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りでの校正を最初からやり直します。X 軸の目盛りをクリックしてください (1/4)。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>数値を入力してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X 軸: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y 軸: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
軸の値は変えていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りから X 軸と Y 軸の値を設定しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X 軸と Y 軸を読み取れませんでした: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X 軸を読み取れませんでした: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y 軸を読み取れませんでした: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
軸は変えていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X 軸 %1 個、Y 軸 %2 個の目盛りラベルから校正しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次は軸の値です: 「軸を自動認識」を実行するか、設定ペインで X と Y の最小・最大を入力するか、「目盛りで校正」で目盛りを 4 つクリックします。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>枠を検出できませんでした: </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> コーナーは変えていません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>コーナーをグラフの枠の 4 隅に置きました。「マッピング 実行」で補正します。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付を入力してください (2024-02-29 など)。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::Messages</name>
    <message>
        <source>&lt;エラー %1&gt; </source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフ作製データ数？ ( &gt;2 )        <byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LogX軸: Xmin, Xmax が0以下です        <byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>LogY軸: Ymin, Ymax が0以下です        <byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>指数関数積 y=exp(A0)*exp(A1*x)*... 選択時、Y軸対数 不可です        <byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 f0(x)～f5(x) の式が長すぎます ( 区切りを含め 2045 バイトまで )        <byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>インタープリタ エラー<byte value="xd"/>
<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 f0(x)～f5(x) に式がありません        <byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>最小2乗法&#x3000;実行エラー<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元の単位の式 (正規化を戻した係数)<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  f0 ... f5 は上の式。Python や表計算の形にはしません<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表計算 (x はセル A1)<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  (x = %1 では逆べきの代わりに 1E+024 を使って曲線を生成しています)<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>係数<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  (べき %1)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>当てはまり (%1 で計算)<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>- (すべての点が同じ値)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  最大残差 = %1 (点 %2)<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  点の数 = %1、係数の数 = %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>、ランク = %1 (特異値 %2 個を 0 としました)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点ごとの残差 (観測値 - 式)<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>  No.,残差<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Save image failed:
80004005</source>
        <translation>画像を保存できませんでした:
80004005</translation>
    </message>
    <message>
        <source>cv::VideoCapture(%1)<byte value="xd"/>
デバイス %1 オープンできません<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>カメラ モジュールを読み込めません: %1<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>カメラ入力を中断しました。<byte value="xd"/>
カメラ入力を再開して下さい。<byte value="xd"/>
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Unable to Open File. </source>
        <translation>ファイルを開けません。</translation>
    </message>
    <message>
        <source>倍率 %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> (対数)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 へのアクセスは拒否されました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 は使用中または読み取り専用のため、書き込めません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 に書き込めませんでした。
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルが見つかりません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルを読み取る権限がありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォルダーです。画像ファイルを選んでください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>通常のファイルではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像として読み込めませんでした（壊れているか、対応していない形式です）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像が大きすぎます: %1 × %2 ピクセル（%3 メガピクセル）。上限は %4 メガピクセルです（設定 Workspace/%5 で変更できます）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイル名に使えない文字が含まれています。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;n次多項式&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;指数関数積&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;任意関数 線型和&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X 正規化係数 Nx</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y 正規化係数 Ny</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次数 n</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲線が軸の矩形の中にほとんどありません。曲線が軸の矩形の中を通る所をクリックしてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲線は %1 列にしかなく、%2 点を置けません。「点の数」を減らしてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲線の途切れが長く、%1 点を置けません。「途切れの橋渡し」を広げるか「点の数」を減らしてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像がありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>軸の矩形が画像の上にありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリックした点が軸の矩形の外です。軸の矩形の中の曲線をクリックしてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリックした所の近くに曲線の色が見つかりません。曲線の上をクリックしてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マーカーが %1 個見つかりました。フィッティングで使える %2 個を等間隔に選びました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲線の自動抽出を中止しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリックした色が軸の矩形の大部分を占めていて、曲線ではありません。曲線の上をクリックするか「色の許容差」を小さくしてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 dpi ではページが大きすぎます: %2 × %3 ピクセル（%4 メガピクセル）。上限は %5 メガピクセルです（設定 Workspace/%6 で変更できます）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 dpi 以下で開いてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF ファイルではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF を読むモジュールを読み込めませんでした（%1）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>パスワードで保護された PDF です。パスワードを外してから開いてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>PDF が壊れていて読み込めません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ページ %1 はありません（この PDF は %2 ページです）。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>解像度 %1 dpi では開けません。%2〜%3 dpi で指定してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ページ %1 を描画できませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 つの目盛りが同じ位置です。離れた目盛りを選んでください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>2 つの目盛りには異なる値を入力してください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>対数軸の目盛りの値は正の数でなければなりません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>目盛りから求めた軸の値が大きすぎます。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 行目の見出しに H と V の列がありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 行目は点の行ではありません (H と V に整数の画素位置が要ります)。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 行目: 点は 256 個までです。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ファイルに点がありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1: %2 からの日数</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::OutputPane</name>
    <message>
        <source>画像入力 : 画像ファイルドロップ対応</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マウス 右ボタン＋ドラッグ : 画像ドラッグ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マウス ホイール           : 画像拡大／縮小</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング設定の変更はフォーカスを失ったときに反映（他をクリック)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 f0(x)～f5(x) 以下 演算 関数 使用可能</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>実行中のエラーは無視 （ 0除算→1E+24、sqrt(負値)→0、log(0以下値)→-1E+24 ）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>    x**y        raise x to the power of y. &lt;pow(x,y)と同じ&gt;</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>出力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング出力</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成グラフ座標データ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>残差</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表をコピー(&amp;C)</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::PdfPageDialog</name>
    <message>
        <source>PDF のページを選ぶ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1（%2 ページ）: グラフのあるページを選んでください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>解像度:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 × %2 ピクセル（%3 メガピクセル）</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 は上限の %2 メガピクセルを超えます。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 dpi 以下にしてください。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::ProjectController</name>
    <message>
        <source>%1 への変更を保存しますか?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存(&amp;S)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存しない(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトを開けませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>作業を復元できませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクト %1 の画像を開けませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 個の点があります。新しい画像でも点を残しますか?
(同じグラフを撮り直した場合は「点を残す」を選びます)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点を残す(&amp;K)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>新しいプロジェクト(&amp;N)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画像がないため、プロジェクトを保存できません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトを保存できませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>(なし)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>プロジェクトの曲線を自動抽出できませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元に戻す: %1(&amp;U)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>元に戻す: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>やり直し: %1(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>やり直し: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼り付けた画像</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリップボードに画像も画像ファイルもありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼り付けた画像を開けませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼り付けた画像を保存できませんでした。
</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::RecoveryStore</name>
    <message>
        <source>前回、保存されずに終了した作業があります (%1、%2)。
復元しますか?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>復元する(&amp;R)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>破棄(&amp;D)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>後で(&amp;L)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>回復用ファイル %1 は他のユーザーのものです。復元には使いません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>回復用ファイル %1 は他のユーザーも書き込めます。復元には使いません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>壊れた回復用ファイルを削除しました: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>回復用フォルダ %1 はシンボリックリンクです。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>回復用フォルダ %1 はフォルダではありません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>回復用フォルダ %1 を開けません: %2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>回復用フォルダ %1 は他のユーザーのものです。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>保存していない作業の控えは残しません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>貼り付けた画像は一時フォルダに置きました。異常終了すると失われます。プロジェクトを保存すると、画像もプロジェクトの隣に保存されます。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::ResultsController</name>
    <message>
        <source>印刷できませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点 %1 (H %2, V %3) は画像 (%4 × %5) の外にあります。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング元座標データを読み込めませんでした。
%1
%2</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>
CSV (UTF-8) で保存すれば、すべての文字を書けます。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 個の系列をフィットしました。</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::Series</name>
    <message>
        <source>黒</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>白</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>灰色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>茶</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>赤</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>オレンジ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>オリーブ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>黄</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>緑</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>シアン</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>青</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>紫</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ピンク</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マゼンタ</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点の追加と抽出、フィッティングの対象の系列</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 (%2 点)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>これ以上系列を追加できません。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列の名前を変更</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>「%1」の新しい名前:</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>キャンセル</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点 %1 をどの系列へ移動しますか?</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>移動先の系列の点の一覧が一杯です。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>軸の範囲に曲線が見つかりませんでした。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>%1 個の系列を抽出しました。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source> 同じ色の曲線があります。交差するところは、それぞれの曲線を「曲線 自動抽出」でクリックして確かめてください。</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列: %1</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>系列 %1</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::SettingsGrid</name>
    <message>
        <source>なし (最近傍)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>双一次補間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>既定値</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>その他...</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>曲線 自動抽出</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>色の許容差</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>クリックした曲線の色とみなす色の差 (1 ... 255)
小さいと他の色の線を拾わず、大きいと写真のにじんだ線も拾います</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点の数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>線の曲線に等間隔に置く点の数 (1 ... 128)
マーカーの系列はマーカー1個に1点です</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>途切れの橋渡し</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>破線や点線の途切れをつなぐ最大の長さ (画素、1 ... 100)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>&lt;n次多項式&gt;
  y=A0+A1*x + A2*(x**2) + ... + An*(pow(x, n))
&lt;指数関数積&gt;
  y=exp(A0) * exp(A1*x) * exp(A2*x*x) * ... * exp(An*(pow(x, n)))
&lt;任意関数 線型和&gt;
  y=A0*f0(x) + A1*f1(x) + ... + A5*f5(x)
  f0(x) ... f5(x)を別指定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>リニア</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>対数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>モデル関数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>ｎ次多項式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>指数関数積</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 線型和</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>次数 n</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f0(x)を指定します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f1(x)を指定します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f2(x)を指定します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f3(x)を指定します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f4(x)を指定します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>任意関数 線型和選択時、f5(x)を指定します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X軸</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X最小 Xmin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X最大 Xmax</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X リニア／対数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>X軸&#x3000;リニア／対数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y軸</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y最小 Ymin</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y最大 Ymax</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y リニア／対数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>Y軸&#x3000;リニア／対数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフ生成</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>データ数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング実行後、グラフ作成するデータ数</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフ表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>データ表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフ内 データ点、線 表示設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>線</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点 + 線</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>点 + 番号</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グリッド</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフ内 グリッド 表示設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>非表示</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの色</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>グラフの色を指定します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フォント</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>生成するグラフ内のフォントを指定します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング方式</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>マッピング 実行時の変換
&lt;双一次 (標準)&gt;
  4点の辺に沿って補間します。正面から撮影したグラフ向き
&lt;射影変換&gt;
  斜めから撮影したグラフの遠近のゆがみも補正し、等間隔の目盛りを等間隔に戻します</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>双一次 (標準)</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>射影変換</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>画素の補間</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>射影変換で画素を読む方法
&lt;なし (最近傍)&gt;
  最も近い画素をそのまま使います
&lt;双一次補間&gt;
  周りの4画素を重み付けして読み、線の位置を画素以下の精度で保ちます</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>日付</source>
        <translation type="unfinished"></translation>
    </message>
</context>
<context>
    <name>qf::SettingsPane</name>
    <message>
        <source>フィッティング 設定</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>すべて展開</source>
        <translation type="unfinished"></translation>
    </message>
    <message>
        <source>フィッティング 実行</source>
        <translation type="unfinished"></translation>
    </message>
</context>
</TS>
